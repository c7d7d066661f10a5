// GoogleTest glue for scenarios: screenshots named after the running test, and
// the window tree printed when a test has failed. Header-only so the driver
// library itself does not depend on GoogleTest.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "e2e/describe.h"
#include "e2e/screenshot.h"
#include "e2e/text.h"

namespace e2e {

// "<Suite>.<Test>" of the running test, with characters unfit for file names ('/', ':' ...) turned into '_'.
inline std::wstring currentTestName() {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  std::wstring name = info ? fromUtf8(std::string(info->test_suite_name()) + "." + info->name()) : L"no_test";
  for (auto& c : name) {
    if (c < 0x20 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) c = L'_';
  }
  return name;
}

// Saves build/screenshots/<Suite>.<Test>[-suffix].png of the desktop (or one window); the path, empty on failure.
inline std::wstring saveTestScreenshot(HWND window = nullptr, const std::wstring& suffix = L"") {
  return saveScreenshot(currentTestName() + (suffix.empty() ? L"" : L"-" + suffix), window);
}

struct ProgramWindowSearch {
  DWORD shell;
  bool found = false;
};

// EnumWindows wants a WINAPI (stdcall in the 32-bit tree) callback, which a lambda is not.
inline BOOL CALLBACK noteProgramWindow(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<ProgramWindowSearch*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid == s->shell || pid == GetCurrentProcessId() || !IsWindowVisible(w)) return TRUE;
  s->found = true;
  return FALSE;
}

// True while a program other than the desktop's own shell shows a top-level window.
inline bool programWindowShown() {
  ProgramWindowSearch search{};
  GetWindowThreadProcessId(GetDesktopWindow(), &search.shell);
  EnumWindows(noteProgramWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Put one at the top of a scenario: when the test ends, pass or fail, the desktop is saved
// as <Suite>.<Test>.png if a program's window is still up (an empty desktop shows nothing the
// name promises: then the file is not written, and one left by an earlier run is removed);
// after a failure the process's windows are printed too.
class ScreenshotAtEnd {
public:
  // processId: whose windows to print after a failure (0 = every window on the desktop).
  explicit ScreenshotAtEnd(DWORD processId = 0) : processId_(processId) {}
  ~ScreenshotAtEnd() {
    std::wstring path;
    if (programWindowShown()) {
      path = saveTestScreenshot();
    } else {
      DeleteFileW((screenshotFolder() + L"\\" + currentTestName() + L".png").c_str());
    }
    if (testing::Test::HasFailure()) {
      std::printf("screenshot: %s\nwindows:\n%s", path.empty() ? "(no window was up)" : toUtf8(path).c_str(),
                  describeTopLevel(processId_).c_str());
    }
  }
  ScreenshotAtEnd(const ScreenshotAtEnd&) = delete;
  ScreenshotAtEnd& operator=(const ScreenshotAtEnd&) = delete;
  // Changes whose windows are printed, e.g. once the program has been started.
  void setProcess(DWORD processId) { processId_ = processId; }

private:
  DWORD processId_;
};

}  // namespace e2e
