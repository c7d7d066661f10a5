// frmKeyList: the shortcut-key list. Each row is a key label and a
// description label: first id of the group + the row index.
#pragma once

#define IDD_KEYLIST 6000
#define IDC_KEYLIST_BTNOK 6001
#define IDC_KEYLIST_LBLIDOUKEY 6010
#define IDC_KEYLIST_LBLIDOUSETSUMEI 6020
#define IDC_KEYLIST_LBLTEXTKEY 6030
#define IDC_KEYLIST_LBLTEXTSETSUMEI 6040
#define IDC_KEYLIST_LBLZENPANKEY 6050
#define IDC_KEYLIST_LBLZENPANSETSUMEI 6060
