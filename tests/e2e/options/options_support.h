// Shared pieces of the options scenarios: Quibex started without an archive,
// its options window found, its controls read and driven from outside.
#pragma once

#include <windows.h>

#include <string>

#include <e2e/gtest_support.h>

#include "options_dialog_ids.h"
#include "quibex_session.h"

// Starts the session without an archive and waits for the options window
// (told from a message box by its controls); nullptr on timeout.
HWND StartOptions(QuibexSession& q, e2e::ScreenshotAtEnd& shot);
HWND Item(HWND options, int id);
bool Enabled(HWND options, int id);
// Clicks a control with real input, its centre, the window brought to the front first.
bool Click(HWND options, int id);
// The position of the limit box's arrows (UDM_GETPOS32).
int SpinPosition(HWND options);
// The What's This popup of the process, once one shows; nullptr otherwise.
HWND WaitHelpPopup(DWORD processId);
// The INI bytes as written on disk.
std::string IniBytes(QuibexSession& q);
// UTF-8 text as the system code page (932) writes it.
std::string Cp932(const std::string& utf8);
