// frmAbout: the program's version and the three archiver libraries' versions;
// missing libraries greyed, outdated ones blinking; the lines open the home
// page or the libraries' download page in the browser.
#pragma once

#include <windows.h>

namespace quibex {

// Shows the window modally over `owner`, built afresh each time.
void ShowAboutWindow(HWND owner);

}  // namespace quibex
