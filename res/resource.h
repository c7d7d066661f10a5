// Resource and control identifiers of Quibex.exe.
#pragma once

#define IDI_QUIBEX 1

// frmInit: the please-wait window
#define IDD_INIT 100
#define IDC_INIT_ICON 101
#define IDC_INIT_LBLMSG 102

#include "options_dialog_ids.h"
#include "search_dialog_ids.h"
#include "setup_dialog_ids.h"
#include "key_list_dialog_ids.h"
#include "about_dialog_ids.h"
#include "view_options_dialog_ids.h"
#include "icon_customisation_dialog_ids.h"
