// frmSearch: the small modeless window that searches the text of the
// viewer's selected tab, and the repeat of the last search (F3). The string,
// the match-case flag and where the window stood are kept until the program
// ends. The viewer hands over what the window needs; nothing here knows the
// viewer.
#pragma once

#include <windows.h>

#include <string>

namespace quibex {

struct SearchHost {
    HWND viewer = nullptr;               // owner; the window is centred over it the first time
    HWND (*currentBox)() = nullptr;      // the text box of the selected tab, or nullptr
    void (*setDropMode)(int) = nullptr;  // the viewer's drops: 0 while the window is open, 1 after
};

// Opens the window over the viewer (or brings it forward when it is open).
void OpenSearchWindow(const SearchHost& host);
// The window while it is open, else nullptr.
HWND SearchWindow();

// True once a string has been searched from the window.
bool SearchRemembered();
// The last search again on `box`, from the end of its selection.
bool RepeatLastSearch(HWND box);
// Forgets the string, the flag and the position, as at the start of a run
// (for tests, which open the window many times in one process).
void ForgetSearch();

}  // namespace quibex
