#include "e2e/process.h"

#include "e2e/window_finder.h"

namespace e2e {
namespace {

DWORD waitMs(std::chrono::milliseconds timeout) {
  return timeout.count() < 0 ? 0 : static_cast<DWORD>(timeout.count());
}

}  // namespace

std::wstring quoteArgument(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  size_t slashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++slashes;
      continue;
    }
    // Backslashes are literal except before a quote, where they double.
    out.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
    slashes = 0;
    out += c;
  }
  out.append(slashes * 2, L'\\');
  out += L'"';
  return out;
}

Process::~Process() {
  if (running()) kill();
}

bool Process::start(const std::wstring& exe, const std::wstring& arguments, const std::wstring& workingFolder) {
  if (running()) kill();
  std::wstring folder = workingFolder;
  if (folder.empty()) {
    const size_t cut = exe.find_last_of(L"\\/");
    if (cut != std::wstring::npos) folder = exe.substr(0, cut);
  }
  std::wstring commandLine = quoteArgument(exe);
  if (!arguments.empty()) commandLine += L" " + arguments;

  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
    startError_ = GetLastError();
    return false;
  }
  startError_ = 0;
  process_.reset(pi.hProcess);
  thread_.reset(pi.hThread);
  pid_ = pi.dwProcessId;
  return true;
}

bool Process::running() const {
  return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::waitForExit(std::chrono::milliseconds timeout) {
  if (!process_) return std::nullopt;
  if (WaitForSingleObject(process_.get(), waitMs(timeout)) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  if (!GetExitCodeProcess(process_.get(), &code)) return std::nullopt;
  return code;
}

bool Process::kill(std::chrono::milliseconds timeout) {
  if (!process_) return true;
  if (running()) TerminateProcess(process_.get(), 0xDEAD);
  return WaitForSingleObject(process_.get(), waitMs(timeout)) == WAIT_OBJECT_0;
}

bool Process::waitForInputIdle(std::chrono::milliseconds timeout) const {
  return process_ && WaitForInputIdle(process_.get(), waitMs(timeout)) == 0;
}

std::vector<HWND> Process::topLevelWindows(bool visibleOnly) const {
  if (!pid_) return {};
  return e2e::topLevelWindows(pid_, visibleOnly);
}

}  // namespace e2e
