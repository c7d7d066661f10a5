// Resource and control identifiers of Quibexsetup.exe.
#pragma once

#define IDI_QUIBEXSETUP 1

// frmQuibexsetup
#define IDD_QUIBEXSETUP 100
#define IDC_LABEL1 101
#define IDC_TXTITEMNAME 102
#define IDC_LABEL2 103
#define IDC_FRAME1 104
#define IDC_LABEL9 105
// chkExt(0) to chkExt(5): LZH, ZIP, CAB, 7Z, RAR, EXE.
#define IDC_CHKEXT 110
// OK and Cancel keep the dialog manager's ids, so Enter applies and Esc or
// the close box cancels.
#define IDC_BTNOK 1
#define IDC_BTNCANCEL 2
