// The hidden application window: it carries the application title, owns every
// top-level window of the program (so a second start can find the window the
// user last used through it), and lives as long as the process.
#pragma once

#include <windows.h>

namespace quibex {

inline constexpr const wchar_t* kAppWindowClass = L"QuibexApplication";

HWND CreateAppWindow(HINSTANCE instance);
HWND AppWindow();
// Sets the title the instance search looks for ("" hides this instance from it).
void SetAppTitle(const wchar_t* title);

}  // namespace quibex
