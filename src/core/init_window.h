// frmInit: the small please-wait window shown while an archive is read.
#pragma once

#include <windows.h>

namespace quibex {

// Shows the window modelessly and paints it at once.
void ShowInitWindow();
// Unloads it if it is shown.
void UnloadInitWindow();
HWND InitWindow();

}  // namespace quibex
