// Resource and control identifiers of Quibex.exe.
#pragma once

#define IDI_QUIBEX 1

// frmInit: the please-wait window
#define IDD_INIT 100
#define IDC_INIT_ICON 101
#define IDC_INIT_LBLMSG 102

// frmSetup: the first-run window
#define IDD_SETUP 200
#define IDC_SETUP_LBLMSG 201
#define IDC_SETUP_BTNYES 202
#define IDC_SETUP_BTNNO 203

#include "options_dialog_ids.h"
#include "search_dialog_ids.h"
