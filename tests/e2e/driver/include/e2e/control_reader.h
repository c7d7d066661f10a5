// Reading controls of another process. Text messages that Windows marshals
// (WM_GETTEXT, LB_GETTEXT, CB_GETLBTEXT) go directly; the rest go through a
// RemoteBuffer. Every send has a timeout so a hung target fails a test
// instead of hanging it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

// Window text via WM_GETTEXT (works across processes, also for edit and rich-edit controls).
std::wstring windowText(HWND hwnd);
// The window's class name ("Button", "SysTabControl32", "#32770", ...).
std::wstring className(HWND hwnd);
// Descendant with this control id (first in depth-first order); nullptr if none.
HWND childById(HWND parent, int id);
// The control id of a child window.
int controlId(HWND hwnd);
// Text with '&' accelerator markers removed ("&&" stays one '&'), for comparing captions.
std::wstring stripAccelerator(const std::wstring& text);

// BST_CHECKED / BST_UNCHECKED / BST_INDETERMINATE of a check box or radio button.
std::optional<int> checkState(HWND button);
// Items of a list box (LB_GETTEXT).
std::vector<std::wstring> listBoxItems(HWND listBox);
// Index of the list box's selection, -1 if none.
int listBoxSelection(HWND listBox);
// Items of a combo box (CB_GETLBTEXT).
std::vector<std::wstring> comboBoxItems(HWND comboBox);
// Index of the combo box's selection, -1 if none.
int comboBoxSelection(HWND comboBox);
// Item texts of a tab control (TCM_GETITEMW through target memory).
std::vector<std::wstring> tabItems(HWND tab);
// Index of the selected tab, -1 if none.
int tabSelection(HWND tab);
// Screen rectangle of one tab item (TCM_GETITEMRECT through target memory); empty if there is no such item.
RECT tabItemRect(HWND tab, int index);
// Right edges of a status bar's parts (SB_GETPARTS; -1 = to the window's edge).
std::vector<int> statusBarPartEdges(HWND statusBar);
// Texts of a status bar's parts (SB_GETTEXTW through target memory).
std::vector<std::wstring> statusBarTexts(HWND statusBar);

// One toolbar button as TB_GETBUTTON reports it, plus its text.
struct ToolbarButton {
  int commandId = 0;
  int image = 0;
  BYTE state = 0;   // TBSTATE_* (enabled, checked, hidden, ...)
  BYTE style = 0;   // BTNS_* (separator, check, ...)
  std::wstring text;
};
// Buttons of a toolbar (TB_BUTTONCOUNT, TB_GETBUTTON, TB_GETBUTTONTEXTW through target memory).
std::vector<ToolbarButton> toolbarButtons(HWND toolbar);

// Number of columns of a report-view list view (its header's item count).
int listViewColumnCount(HWND listView);
// Rows of a list view, each with the texts of its columns (LVM_GETITEMTEXTW through target memory).
std::vector<std::vector<std::wstring>> listViewItems(HWND listView);
// Index of the first selected list-view row, -1 if none.
int listViewSelection(HWND listView);

// Text of a rich-edit control (WM_GETTEXT) with its line ends (CR or CRLF) turned into LF.
std::wstring richEditText(HWND richEdit);

}  // namespace e2e
