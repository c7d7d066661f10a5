// What the other viewer parts (toolbar, links, search) and the tests reach
// inside the viewer: its controls, the tab list, tab movement, page
// scrolling, the Esc close, the key table and the commands keys, the
// toolbar and the system menu run.
#pragma once

#include <windows.h>

#include <string>

namespace quibex {

HWND ViewerTabStrip();
HWND ViewerStatusBar();
// The text box of tab `index` (0-based), or nullptr.
HWND ViewerTextBox(int index);
// Index of the last tab; below 0 when no text is shown.
int LastTabIndex();
// The 0-based index of the selected tab.
int SelectedTabIndex();
std::wstring TabFilePath(int index);
bool TabFileLoaded(int index);
// True while the rest of a text is still being read into its box.
bool TabTextPending(int index);
std::wstring TabTooltipText(int index);
// Selects a tab as a click would (loads its text on first display).
// `keySource` 2 keeps the focus on the tab strip.
void SelectTab(int index, int keySource = 0);
void NextText();
void PreviousText();
// Page scrolling of the selected text: 2 up, 3 down; continues to the
// neighbouring text at either end when "SpaceContinue" is 1.
void ScrollPage(int direction);
// Esc: closes through the hidden Dummy box so that no text box is torn down
// inside its own key event.
void CloseViewerByEsc();

// The viewer's key table, as the text boxes and the tab strip consult it.
// `modifiers` holds exactly the keys held; true when the key was acted on.
inline constexpr int kKeyShift = 1, kKeyCtrl = 2, kKeyAlt = 4;
bool HandleViewerKey(UINT key, int modifiers);
// Opens the archive with the archiver tool or its association, then closes
// the viewer when "ExitAfterOpen" is 1, or 0 with `shiftHeld`.
void OpenArchiveFromViewer(bool shiftHeld);
// The selected text to the text editor or its association; to the print
// tool or the print verb. Nothing while no text is shown.
void OpenSelectedText();
void PrintSelectedText();
// Asks, then switches always-on-top and the in-memory "TopMost".
void ToggleTopMost();
// The search window over the viewer (the "Search" button).
void OpenSearchFromViewer();
// The windows of the two system-menu items, modal over the viewer.
void ShowKeyListFromViewer();
void ShowAboutFromViewer();
// Extracts and opens document `index` of the archive's document list, as
// its item of the "Open" button's menu does.
void OpenDocumentFromViewer(int index);

// While another window of the program is open over the viewer, no file
// can be dropped on any part of it: 0 refuses drops, 1 takes them again.
void SetViewerDropMode(int mode);
int ViewerDropMode();

// The toolbar (nullptr with "NotToolbar" 1) and the hint of button `index`,
// counted from the left.
HWND ViewerToolbar();
std::wstring ToolbarHint(int index);

}  // namespace quibex

namespace quibex {

// A dropped archive: starts a new instance on it and, by the drop rules,
// ends this one. `modifiers` holds the drop rules' Shift/Ctrl/Alt bits.
void DropArchive(const std::wstring& path, int modifiers);
// The process start and the immediate end a drop uses; tests replace them.
using DropStarter = bool (*)(const std::wstring& commandLine);
using DropEnder = void (*)();
void SetDropHooks(DropStarter starter, DropEnder ender);

}  // namespace quibex
