// frmQuibex: the main options window, the only window when Quibex starts
// without an archive. Closing it ends the program.
#pragma once

namespace quibex {

// Shows the window modelessly; the message loop then runs until it closes.
void ShowMainOptionsWindow();

}  // namespace quibex
