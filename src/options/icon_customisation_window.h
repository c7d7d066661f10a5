// frmIconcust: the images of the viewer's seven toolbar buttons, normal and
// pointed at, each replaceable by an icon file of the user's, and whether the
// toolbar always shows the pointed-at images. It edits the in-memory settings
// only; the main options window's OK writes them to the INI file.
#pragma once

#include <windows.h>

namespace quibex {

// Shows the window modally over `owner` (the viewer options window).
void ShowIconCustomisationWindow(HWND owner);

}  // namespace quibex
