// frmIconcust: the toolbar icon customisation window. The controls of one
// toolbar button are the first id of their kind + the button's index; the
// image boxes are IDC_ICONCUST_IMAGE1 + 2 × index (normal) and + 1 (pointed at).
#pragma once

#define IDD_ICONCUST 4000
#define IDC_ICONCUST_GRPOUTER 4001
#define IDC_ICONCUST_CHKHOTIMAGE 4002
#define IDC_ICONCUST_LABEL1 4003
// IDCANCEL: the close button, Esc and the close box end the window alike.
#define IDC_ICONCUST_BTNCLOSE 2
#define IDC_ICONCUST_FRAME2 4010
#define IDC_ICONCUST_BTNRESET 4020
#define IDC_ICONCUST_IMAGE1 4030
#define IDC_ICONCUST_LBLNORMAL 4050
#define IDC_ICONCUST_LBLPOINTED 4060
