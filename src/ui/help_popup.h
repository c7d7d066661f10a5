// The What's This popup: a help text in a small framed window beside the
// control it explains. It closes on the next click, key or change of the
// active window; one shows at a time.
#pragma once

#include <windows.h>

#include <string>

namespace quibex {

inline constexpr const wchar_t* kHelpPopupClass = L"QuibexHelpPopup";

// Shows `text` below `beside` (a screen rectangle, the control), starting at
// the pointer's x; above it when there is no room below. The popup's window
// text is the help text.
HWND ShowHelpPopup(HWND owner, const std::wstring& text, const RECT& beside, POINT pointer);
// The popup on screen, or nullptr.
HWND HelpPopupWindow();
void CloseHelpPopup();

}  // namespace quibex
