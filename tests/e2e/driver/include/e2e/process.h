// A program started for a test; killed on destruction if still running.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "e2e/handle.h"

namespace e2e {

class Process {
public:
  Process() = default;
  // Kills the process (and waits for it) if it is still running.
  ~Process();
  Process(Process&&) noexcept = default;
  Process& operator=(Process&&) noexcept = default;

  // Starts `exe` with `arguments` (raw command-line tail) in `workingFolder` (default: the exe's folder); false on failure.
  bool start(const std::wstring& exe, const std::wstring& arguments = L"",
             const std::wstring& workingFolder = L"");
  // True between a successful start() and the process's end.
  bool running() const;
  // Waits for the end; the exit code, or nothing on timeout.
  std::optional<DWORD> waitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(20));
  // Terminates the process and waits for it; true once it has ended.
  bool kill(std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Waits until the process is idle for input (its first message loop is running).
  bool waitForInputIdle(std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;

  // The process id (0 before start), for WindowQuery::processId.
  DWORD id() const { return pid_; }
  // The process handle, nullptr before start.
  HANDLE handle() const { return process_.get(); }
  // The process's top-level windows (visible only unless told otherwise).
  std::vector<HWND> topLevelWindows(bool visibleOnly = true) const;
  // The last Win32 error code from start(), for failure messages.
  DWORD startError() const { return startError_; }

private:
  UniqueHandle process_;
  UniqueHandle thread_;
  DWORD pid_ = 0;
  DWORD startError_ = 0;
};

// Quotes one command-line argument by the rules CommandLineToArgvW undoes.
std::wstring quoteArgument(const std::wstring& arg);

}  // namespace e2e
