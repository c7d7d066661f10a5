// Moving between tabs, page scrolling, and what other viewer parts read of
// the tab list.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include "core/app_state.h"
#include "viewer/viewer_control.h"
#include "viewer/viewer_form.h"

namespace quibex {
namespace {
bool ValidTab(const ViewerForm* f, int index) { return f && f->tabs.Has(index); }
}  // namespace

HWND ViewerTabStrip() { return Form() ? Form()->tabs.strip : nullptr; }
HWND ViewerStatusBar() { return Form() ? Form()->status.bar : nullptr; }
HWND ViewerTextBox(int index) { return Form() ? Form()->tabs.BoxAt(index) : nullptr; }
int LastTabIndex() { return Form() ? Form()->tabs.lastIndex : -1; }

int SelectedTabIndex() { return Form() ? static_cast<int>(SendMessageW(Form()->tabs.strip, TCM_GETCURSEL, 0, 0)) : -1; }

std::wstring TabFilePath(int index) {
    ViewerForm* f = Form();
    return f && index >= 0 && static_cast<size_t>(index) < f->tabs.files.size()
               ? f->tabs.files[static_cast<size_t>(index)].Path
               : std::wstring();
}

bool TabFileLoaded(int index) {
    ViewerForm* f = Form();
    return f && index >= 0 && static_cast<size_t>(index) < f->tabs.files.size() &&
           f->tabs.files[static_cast<size_t>(index)].Loaded == 1;
}

bool TabTextPending(int index) {
    ViewerForm* f = Form();
    return ValidTab(f, index) && TextPending(*f, index);
}

std::wstring TabTooltipText(int index) {
    ViewerForm* f = Form();
    return f && index >= 0 && static_cast<size_t>(index) < f->tabs.tips.size()
               ? f->tabs.tips[static_cast<size_t>(index)]
               : std::wstring();
}

void SelectTab(int index, int keySource) {
    ViewerForm* f = Form();
    if (!ValidTab(f, index) || index > f->tabs.lastIndex) return;
    f->keySource = keySource;
    OnTabChanging(*f);
    SendMessageW(f->tabs.strip, TCM_SETCURSEL, index, 0);
    OnTabChanged(*f);
}

void NextText() {
    ViewerForm* f = Form();
    if (!f || f->tabs.lastIndex < 1) return;
    int c = SelectedTabIndex();
    SelectTab(c == f->tabs.lastIndex ? 0 : c + 1, f->keySource);
}

void PreviousText() {
    ViewerForm* f = Form();
    if (!f || f->tabs.lastIndex <= 0) return;
    int c = SelectedTabIndex();
    SelectTab(c == 0 ? f->tabs.lastIndex : c - 1, f->keySource);
}

void ScrollPage(int direction) {
    ViewerForm* f = Form();
    int sel = SelectedTabIndex();
    if (!ValidTab(f, sel)) return;
    HWND box = f->tabs.BoxAt(sel);
    bool continues = AppSettings().SpaceContinue == 1;
    auto first = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
    if (direction == 2 && first == 0) {
        if (continues) PreviousText();
        return;
    }
    SendMessageW(box, EM_SCROLL, direction == 2 ? SB_PAGEUP : SB_PAGEDOWN, 0);
    auto after = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
    if (direction == 3 && after == first) {
        // The end of what has been read of a text is not its end.
        if (TabTextPending(sel)) return;
        if (continues) NextText();
        return;
    }
    // The box counts positions in characters, so the line start is the caret index.
    auto start = SendMessageW(box, EM_LINEINDEX, after, 0);
    SendMessageW(box, EM_SETSEL, start, start);
}

}  // namespace quibex
