// frmViewOpt: the viewer options window, modal over the main options window.
// It edits the viewer's settings in memory only; the main options window's
// OK writes them to the INI file.
#pragma once

#include <windows.h>

namespace quibex {

void ShowViewerOptions(HWND owner);

}  // namespace quibex
