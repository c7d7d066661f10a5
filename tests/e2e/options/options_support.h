// Shared pieces of the options scenarios: Quibex started without an archive,
// its options window found, its controls read and driven from outside.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include <e2e/gtest_support.h>

#include "options_dialog_ids.h"
#include "quibex_session.h"

// One scenario: Quibex started without an archive in a fresh program folder,
// its options window (told from a message box by its controls), the
// screenshot at the end.
class OptionsScenario : public ::testing::Test {
protected:
    // Starts Quibex on `ini` (UTF-8); the window, or nullptr on timeout.
    HWND Start(const char* ini = kDefaultIni);
    // Starts Quibex again in the same folder, on the INI the last run left.
    HWND StartAgain();
    // Opens the viewer options over the main options window; nullptr on timeout.
    HWND OpenViewOptions();
    // Closes the window with its close box; the program must end with 0.
    void CloseAndExpectExit();
    QuibexSession& q() { return *session_; }

    e2e::ScreenshotAtEnd shot;
    HWND w = nullptr;

private:
    std::unique_ptr<QuibexSession> session_;
};
HWND Item(HWND options, int id);
bool Enabled(HWND options, int id);
// Clicks a control with real input, its centre, the window brought to the front first.
bool Click(HWND options, int id);
// The position of the limit box's arrows (UDM_GETPOS32).
int SpinPosition(HWND options);
// The What's This popup of the process, once one shows; nullptr otherwise.
HWND WaitHelpPopup(DWORD processId);
// Hovers over the left part of `control` until a tooltip of the process
// shows `text`; that tooltip, or nullptr when none does.
HWND HoverForTooltip(DWORD processId, HWND control, const std::wstring& text);
// Picks `path` in the open-file dialog captioned `title`.
bool ChooseFile(QuibexSession& q, const std::wstring& title, const std::wstring& path);
// The dialog of the process that holds a control `id`, once one shows; nullptr otherwise.
HWND WaitDialogWith(DWORD processId, int id);
// The INI bytes as written on disk.
std::string IniBytes(QuibexSession& q);
// UTF-8 text as the system code page (932) writes it.
std::string Cp932(const std::string& utf8);
