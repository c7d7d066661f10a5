// The tool's one message box routine.
#pragma once

#include <windows.h>

#include <string>

namespace quibexsetup {

// A message box over `owner` (nullptr before the window exists) with the
// style's icon and buttons; returns the pressed button.
int ShowSetupMessage(HWND owner, const std::wstring& text, const wchar_t* title, UINT style);

}  // namespace quibexsetup
