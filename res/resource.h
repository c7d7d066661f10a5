// Resource and control identifiers of Quibex.exe.
#pragma once

#define IDI_QUIBEX 1

// frmInit: the please-wait window
#define IDD_INIT 100
#define IDC_INIT_ICON 101
#define IDC_INIT_LBLMSG 102

// frmQuibex: the main options window
#define IDD_OPTIONS 300
#define IDC_OPTIONS_LBLMSG 301
#define IDC_OPTIONS_BTNCLOSE 302

#include "setup_dialog_ids.h"
#include "key_list_dialog_ids.h"
#include "about_dialog_ids.h"
