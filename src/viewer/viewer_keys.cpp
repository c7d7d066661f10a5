// The viewer's keys: the text boxes and the tab strip pass every key press
// to one table; what it does not know, the focused control handles itself.
#include <windows.h>

#include <commctrl.h>

#include "core/app_state.h"
#include "core/window_base.h"
#include "search/search_window.h"
#include "viewer/tab_caption.h"
#include "viewer/viewer_control.h"
#include "viewer/viewer_form.h"

namespace quibex {
namespace {

enum class KeyAction {
    Close,
    Previous,
    Next,
    OpenArchive,
    OpenArchiveInverted,
    Text,
    Print,
    TopMost,
    PageDown,
    PageUp,
    Search,
    SearchAgain
};

struct KeyRow {
    UINT key;
    int modifiers;  // exactly these are held
    int digit;      // the "ShortCutKey" digit that switches the row on; 0: always on
    KeyAction action;
};

constexpr KeyRow kKeyTable[] = {
    {VK_ESCAPE, 0, 5, KeyAction::Close},
    {VK_LEFT, kKeyAlt, 3, KeyAction::Previous},
    {VK_RIGHT, kKeyAlt, 3, KeyAction::Next},
    {VK_RETURN, 0, 1, KeyAction::Next},
    {VK_RETURN, kKeyShift, 1, KeyAction::Previous},
    {VK_BACK, 0, 7, KeyAction::Previous},
    {VK_BACK, kKeyShift, 7, KeyAction::Next},
    {VK_TAB, kKeyCtrl, 2, KeyAction::Next},
    {VK_TAB, kKeyCtrl | kKeyShift, 2, KeyAction::Previous},
    {'O', kKeyCtrl, 0, KeyAction::OpenArchive},
    {'O', kKeyCtrl | kKeyShift, 0, KeyAction::OpenArchiveInverted},
    {'T', kKeyCtrl, 0, KeyAction::Text},
    {'P', kKeyCtrl, 0, KeyAction::Print},
    {'F', kKeyCtrl, 0, KeyAction::Search},
    {VK_F3, 0, 0, KeyAction::SearchAgain},  // once a string has been searched
    {'A', kKeyAlt, 0, KeyAction::TopMost},
    {VK_SPACE, 0, 0, KeyAction::PageDown},
    {VK_SPACE, kKeyShift, 0, KeyAction::PageUp},
};

// Alt+0 to Alt+9, on the main keys or the keypad: the tab of that number.
bool JumpToText(UINT key) {
    int d;
    if (key >= '0' && key <= '9')
        d = static_cast<int>(key - '0');
    else if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
        d = static_cast<int>(key - VK_NUMPAD0);
    else
        return false;
    if (d <= LastTabIndex() && d != SelectedTabIndex()) SelectTab(d, Form() ? Form()->keySource : 0);
    return true;
}

void Run(KeyAction action) {
    switch (action) {
    case KeyAction::Close: CloseViewerByEsc(); break;
    case KeyAction::Previous: PreviousText(); break;
    case KeyAction::Next: NextText(); break;
    case KeyAction::OpenArchive: OpenArchiveFromViewer(false); break;
    case KeyAction::OpenArchiveInverted: OpenArchiveFromViewer(true); break;
    case KeyAction::Text: OpenSelectedText(); break;
    case KeyAction::Print: PrintSelectedText(); break;
    case KeyAction::TopMost: ToggleTopMost(); break;
    case KeyAction::PageDown: ScrollPage(3); break;
    case KeyAction::PageUp: ScrollPage(2); break;
    case KeyAction::Search: OpenSearchFromViewer(); break;
    case KeyAction::SearchAgain: RepeatLastSearch(ViewerTextBox(SelectedTabIndex())); break;
    }
}

int HeldModifiers() {
    return (GetKeyState(VK_SHIFT) < 0 ? kKeyShift : 0) | (GetKeyState(VK_CONTROL) < 0 ? kKeyCtrl : 0) |
           (GetKeyState(VK_MENU) < 0 ? kKeyAlt : 0);
}

// Keys of a text box (source 1) and of the tab strip (source 2). A key the
// table took is not passed on, nor the character it makes, so that an
// Alt+key does not beep; Space and Backspace never reach a text box.
bool RouteKey(HWND, UINT msg, WPARAM wp, LPARAM, DWORD_PTR source, LRESULT& result) {
    static bool swallowChar = false;
    switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        ViewerForm* f = Form();
        if (!f) break;
        f->keySource = static_cast<int>(source);
        const UINT key = static_cast<UINT>(wp);
        const bool taken = HandleViewerKey(key, HeldModifiers());
        swallowChar = taken;
        result = 0;
        return taken || (source == 1 && (key == VK_SPACE || key == VK_BACK));
    }
    case WM_CHAR:
    case WM_SYSCHAR:
        if (!swallowChar) return false;
        swallowChar = false;
        result = 0;
        return true;
    }
    return false;
}

}  // namespace

bool HandleViewerKey(UINT key, int modifiers) {
    const std::wstring& digits = AppSettings().ShortCutKey;
    if (modifiers == kKeyAlt && ShortCutDigitOn(digits, 6) && JumpToText(key)) return true;
    for (const KeyRow& row : kKeyTable) {
        if (row.key != key || row.modifiers != modifiers) continue;
        if (row.digit != 0 && !ShortCutDigitOn(digits, row.digit)) return false;
        if ((row.action == KeyAction::Text || row.action == KeyAction::Print) && LastTabIndex() < 0) return false;
        if (row.action == KeyAction::SearchAgain && !SearchRemembered()) return false;
        Run(row.action);
        return true;
    }
    return false;
}

void RouteViewerKeys(HWND control, int keySource) {
    FilterMessages(control, RouteKey, static_cast<DWORD_PTR>(keySource));
}

}  // namespace quibex
