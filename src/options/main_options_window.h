// frmQuibex: the main options window, the only window when Quibex starts
// without an archive. OK saves every setting; closing it in any way ends
// the program.
#pragma once

#include <windows.h>

namespace quibex {

// Shows the window modelessly; the message loop then runs until it closes.
void ShowMainOptionsWindow();
// The window while it is open, else nullptr.
HWND MainOptionsWindow();

}  // namespace quibex
