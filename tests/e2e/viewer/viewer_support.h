// Shared pieces of the viewer scenarios: starting Quibex on an archive of
// ours, finding the viewer's parts, and reading what the tab strip, the
// status bar and the text boxes hold from outside the process.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <map>
#include <set>
#include <optional>
#include <string>
#include <vector>

#include <e2e/gtest_support.h>

#include "quibex_session.h"

// A generated archive of the viewer scenarios, as a Windows path.
std::wstring ViewerArchive(const std::wstring& name);
// kDefaultIni with "Section.Key=value" lines set (replaced or added).
std::string IniWith(std::initializer_list<std::string> changes);

// A message to a window of another process; 0 when it gets no answer within 5 s.
LRESULT SendWithTimeout(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// The parts of a built viewer window.
struct ViewerParts {
    HWND window = nullptr;
    HWND tabs = nullptr;
    HWND status = nullptr;
};

// Waits for the viewer of the session and for its tabs to be built (the
// status bar's text count is the last thing filled in); empty parts on timeout.
ViewerParts WaitBuiltViewer(QuibexSession& q);
// Starts the session on `archive` (a file of the viewer data), points the
// end-of-test screenshot at it and waits for the built viewer.
ViewerParts StartViewer(QuibexSession& q, e2e::ScreenshotAtEnd& shot, const std::wstring& archive);
// The text box of tab `index` (the boxes are numbered from 1000 in tab order).
HWND TextBox(const ViewerParts& v, int index);
// The texts of the work folder as the program enumerates them (Quibex takes
// its tab order from that enumeration, which the host file system decides).
std::vector<std::wstring> WorkFolderTexts(QuibexSession& q);
// The tools of the tab strip's tooltip control and the text each shows, by
// tool id (the tab index); nothing when the strip has no tooltip control.
std::optional<std::map<UINT_PTR, std::wstring>> TabTooltips(HWND tabs);
// The text colour of the character at `position` of a rich-edit box
// (EM_GETCHARFORMAT through target memory); CLR_INVALID when unreadable.
// Moves the box's selection.
COLORREF CharColour(HWND box, LONG position);
// The caret/selection of an edit box (EM_GETSEL).
std::pair<DWORD, DWORD> Selection(HWND box);
// Closes the viewer and waits for the process; its exit code if it ended.
std::optional<DWORD> CloseAndWait(QuibexSession& q, HWND viewer);
// The tab strip, the shown text box and the status bar lie inside the
// client area, in that order from the top, without overlapping (gtest checks).
void ExpectLaidOut(const ViewerParts& v, HWND box);
// The screen's DPI as GDI reports it.
int ScreenDpi();
