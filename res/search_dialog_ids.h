// frmSearch, the search window: ids 5000-5099. btnSearch is IDOK (Enter),
// btnCancel IDCANCEL (Esc).
#pragma once

#define IDD_SEARCH 5000
#define IDC_SEARCH_LABEL1 5001
#define IDC_SEARCH_TXTSEARCHSTRING 5002
#define IDC_SEARCH_CHKCOMPARE 5003
