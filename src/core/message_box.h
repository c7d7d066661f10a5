// Message boxes after start-up: centred over the program window the user
// activated last and kept on the screen. And the program's one beep.
#pragma once

#include <windows.h>

#include <string>

namespace quibex {

// Shows a message box; an empty `title` becomes the application title and the
// caller's variable keeps it. Returns the pressed button's code.
int ShowMessage(const std::wstring& text, UINT style, std::wstring& title);
int ShowMessage(const std::wstring& text, UINT style);

// The plain system message box with the application title, brought to the
// front: for start-up and reading, before any window of the program shows.
int ShowPlainMessage(const std::wstring& text, UINT style);

// 500 Hz for 100 ms on the speaker when `pcBeep` is 1, else the system beep.
void PlayBeep(int pcBeep);

}  // namespace quibex
