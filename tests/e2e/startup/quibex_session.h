// One Quibex run in a fresh program folder, for the scenarios.
#pragma once

#include <e2e/driver.h>

#include <string>
#include <vector>

// The INI most scenarios start from: every first-run key, so no welcome window.
extern const char* const kDefaultIni;

class QuibexSession {
public:
    // Copies Quibex.exe and the archiver libraries; writes `iniUtf8` unless it is null.
    explicit QuibexSession(const char* iniUtf8 = kDefaultIni);
    ~QuibexSession();
    bool start(const std::wstring& arguments = L"");
    e2e::ProgramFolder& folder() { return folder_; }
    e2e::Process& process() { return process_; }
    DWORD pid() const { return process_.id(); }
    // A visible top-level window of this process with that caption.
    HWND waitWindow(const std::wstring& caption, const std::wstring& className = L"");
    // Saves a screenshot once the program is idle (its windows painted).
    void screenshot(const std::wstring& name);
    // The next message box of this process, read.
    e2e::MessageBoxInfo waitMessage(HWND* box);
    // The command lines a recorder program in the folder logged (recorder.log), one a line.
    std::vector<std::wstring> recorderLines();

private:
    e2e::ProgramFolder folder_;
    e2e::Process process_;
};
