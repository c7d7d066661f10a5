// Window descriptions for failure messages: what was on screen when a wait failed.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// One line (UTF-8): handle, class, control id, visibility and text of a window.
std::string describeWindow(HWND hwnd);
// A window and its descendants, one line each, indented by depth.
std::string describeWindowTree(HWND root);
// Every top-level window of a process (0 = all) with its descendants.
std::string describeTopLevel(DWORD processId = 0);

}  // namespace e2e
