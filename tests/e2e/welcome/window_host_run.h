// One run of the test host that opens the key list or the about window, in
// a fresh program folder with the settings and libraries a scenario chooses;
// the screen is saved when the run ends.
#pragma once

#include <e2e/driver.h>
#include <e2e/gtest_support.h>

#include <string>

class WindowHostRun {
public:
    // `iniUtf8` becomes Quibex.ini; `libraries` are copied from the build's program folder.
    WindowHostRun(const char* iniUtf8, const std::vector<std::wstring>& libraries) {
        folder_.copyFrom({L"QuibexWindowHost.exe"});
        folder_.copyFrom(libraries);
        folder_.writeIni(iniUtf8);
    }
    e2e::ProgramFolder& folder() { return folder_; }
    e2e::Process& process() { return process_; }
    // Starts the host on "keylist" or "about" and waits for the window captioned `caption`.
    HWND open(const std::wstring& which, const std::wstring& caption) {
        if (!process_.start(folder_.file(L"QuibexWindowHost.exe"), which, folder_.path())) return nullptr;
        shot_.setProcess(process_.id());
        return e2e::waitForWindow(e2e::WindowQuery().withCaption(caption).inProcess(process_.id()));
    }

private:
    e2e::ProgramFolder folder_;
    e2e::Process process_;
    e2e::ScreenshotAtEnd shot_;  // the desktop when the run ends, and its windows after a failure
};
