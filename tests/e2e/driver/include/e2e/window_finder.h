// Finding windows by polling: never fixed sleeps, each wait returns as soon
// as its condition holds.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

using std::chrono::milliseconds;
// The default for every wait: generous, because Wine without a window manager stalls for about a second on hide/destroy.
inline constexpr milliseconds kDefaultTimeout{20000};

// What a window must match; empty fields match anything. Texts are compared with
// the text Windows keeps for the window (its caption; a button's or static's text),
// not what an edit control holds: read those with windowText().
struct WindowQuery {
  std::wstring caption;         // exact window text
  std::wstring captionPart;     // substring of the window text
  std::wstring className;       // exact class name, case-insensitive
  DWORD processId = 0;          // owning process, 0 = any
  bool visibleOnly = true;      // skip hidden windows

  // Setters for building a query in one expression:
  // WindowQuery().withClass(L"#32770").inProcess(pid). (Designated initializers
  // would trip -Wmissing-field-initializers.)
  WindowQuery& withCaption(std::wstring text) { caption = std::move(text); return *this; }
  WindowQuery& withCaptionPart(std::wstring text) { captionPart = std::move(text); return *this; }
  WindowQuery& withClass(std::wstring name) { className = std::move(name); return *this; }
  WindowQuery& inProcess(DWORD pid) { processId = pid; return *this; }
  WindowQuery& includingHidden() { visibleOnly = false; return *this; }
};

// True when hwnd matches the query.
bool matches(HWND hwnd, const WindowQuery& query);
// Top-level windows matching the query, in Z order.
std::vector<HWND> findWindows(const WindowQuery& query);
// Top-level windows of one process (0 = all), in Z order.
std::vector<HWND> topLevelWindows(DWORD processId = 0, bool visibleOnly = true);
// Child windows of parent: every descendant, or only direct children.
std::vector<HWND> childWindows(HWND parent, bool recursive = true);
// First descendant of parent matching the query (processId is ignored).
HWND findChild(HWND parent, const WindowQuery& query);
// Polls until a top-level window matches; nullptr on timeout.
HWND waitForWindow(const WindowQuery& query, milliseconds timeout = kDefaultTimeout);
// Polls until a descendant of parent matches; nullptr on timeout.
HWND waitForChild(HWND parent, const WindowQuery& query, milliseconds timeout = kDefaultTimeout);
// Polls until hwnd is destroyed or hidden; false on timeout.
bool waitForWindowGone(HWND hwnd, milliseconds timeout = kDefaultTimeout);
// Polls until no top-level window matches; false on timeout.
bool waitForNoWindow(const WindowQuery& query, milliseconds timeout = kDefaultTimeout);
// Polls condition every few milliseconds; true as soon as it holds, false on timeout.
bool waitUntil(const std::function<bool()>& condition, milliseconds timeout = kDefaultTimeout);

}  // namespace e2e
