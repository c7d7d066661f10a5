// The common dialogs the program uses, from comdlg32 loaded when a dialog
// first opens (it brings the printing libraries with it). Same contracts as
// the SDK's; when comdlg32 cannot be loaded each dialog fails as cancelled
// and CommDlgExtendedError reports CDERR_LOADSTRFAILURE.
#pragma once

#include <windows.h>
#include <cderr.h>
#include <commdlg.h>

namespace quibex::lazy {

BOOL GetOpenFileNameW(OPENFILENAMEW* ofn);
BOOL ChooseFontW(CHOOSEFONTW* cf);
BOOL ChooseColorW(CHOOSECOLORW* cc);
DWORD CommDlgExtendedError();

}  // namespace quibex::lazy
