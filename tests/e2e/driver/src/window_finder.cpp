#include "e2e/window_finder.h"

#include <iterator>
#include <thread>

#include "e2e/control_reader.h"

namespace e2e {
namespace {

// Short enough that a wait ends promptly once its condition holds.
constexpr milliseconds kPollInterval{25};

struct EnumState {
  const WindowQuery* query;
  std::vector<HWND>* out;
};

// The text the window manager keeps for a window. GetWindowText sends no message to
// another process's window, so matching never waits on a busy program elsewhere on
// the shared desktop. Captions are short; longer texts are compared by their start.
std::wstring storedText(HWND hwnd) {
  wchar_t buf[1024];
  const int n = GetWindowTextW(hwnd, buf, static_cast<int>(std::size(buf)));
  return n > 0 ? std::wstring(buf, static_cast<size_t>(n)) : std::wstring();
}

BOOL CALLBACK collectTopLevel(HWND hwnd, LPARAM param) {
  auto* state = reinterpret_cast<EnumState*>(param);
  if (matches(hwnd, *state->query)) state->out->push_back(hwnd);
  return TRUE;
}

BOOL CALLBACK collectChild(HWND hwnd, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
  return TRUE;
}

}  // namespace

bool matches(HWND hwnd, const WindowQuery& query) {
  if (!IsWindow(hwnd)) return false;
  if (query.visibleOnly && !IsWindowVisible(hwnd)) return false;
  if (query.processId) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != query.processId) return false;
  }
  if (!query.className.empty() && lstrcmpiW(className(hwnd).c_str(), query.className.c_str()) != 0) return false;
  if (!query.caption.empty() || !query.captionPart.empty()) {
    const std::wstring text = storedText(hwnd);
    if (!query.caption.empty() && text != query.caption) return false;
    if (!query.captionPart.empty() && text.find(query.captionPart) == std::wstring::npos) return false;
  }
  return true;
}

std::vector<HWND> findWindows(const WindowQuery& query) {
  std::vector<HWND> out;
  EnumState state{&query, &out};
  EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&state));
  return out;
}

std::vector<HWND> topLevelWindows(DWORD processId, bool visibleOnly) {
  WindowQuery query;
  query.processId = processId;
  query.visibleOnly = visibleOnly;
  return findWindows(query);
}

std::vector<HWND> childWindows(HWND parent, bool recursive) {
  std::vector<HWND> all;
  // EnumChildWindows already descends into grandchildren.
  EnumChildWindows(parent, collectChild, reinterpret_cast<LPARAM>(&all));
  if (recursive) return all;
  std::vector<HWND> direct;
  for (HWND h : all) {
    if (GetAncestor(h, GA_PARENT) == parent) direct.push_back(h);
  }
  return direct;
}

HWND findChild(HWND parent, const WindowQuery& query) {
  WindowQuery local = query;
  local.processId = 0;
  for (HWND h : childWindows(parent)) {
    if (matches(h, local)) return h;
  }
  return nullptr;
}

bool waitUntil(const std::function<bool()>& condition, milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
}

HWND waitForWindow(const WindowQuery& query, milliseconds timeout) {
  HWND found = nullptr;
  waitUntil(
      [&] {
        const auto windows = findWindows(query);
        found = windows.empty() ? nullptr : windows.front();
        return found != nullptr;
      },
      timeout);
  return found;
}

HWND waitForChild(HWND parent, const WindowQuery& query, milliseconds timeout) {
  HWND found = nullptr;
  waitUntil([&] { return (found = findChild(parent, query)) != nullptr; }, timeout);
  return found;
}

bool waitForWindowGone(HWND hwnd, milliseconds timeout) {
  return waitUntil([&] { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); }, timeout);
}

bool waitForNoWindow(const WindowQuery& query, milliseconds timeout) {
  return waitUntil([&] { return findWindows(query).empty(); }, timeout);
}

}  // namespace e2e
