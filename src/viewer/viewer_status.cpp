// The status bar: archive path, archive kind and number of texts, each panel
// with its tooltip.
#include <windows.h>

#include <commctrl.h>

#include "viewer/viewer_form.h"
#include "viewer/viewer_texts.h"

namespace quibex {
namespace {
constexpr int kKindPanelWidth = 52;   // "LHA", "ZIP", "CAB"
constexpr int kCountPanelWidth = 40;  // up to "10"

LRESULT CALLBACK RestoreOnMouseMove(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_MOUSEMOVE) RestoreStatusText();
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, RestoreOnMouseMove, 0);
    return DefSubclassProc(hwnd, msg, wp, lp);
}
}  // namespace

void RestoreStatusText() {
    ViewerForm* f = Form();
    if (f && !f->savedStatusText.empty()) SetStatusPanel(*f, 1, f->savedStatusText);
}

void RestoreStatusTextOverControl(HWND control) { SetWindowSubclass(control, RestoreOnMouseMove, 0, 0); }

HWND CreateStatusBar(ViewerForm& f) {
    HWND bar = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | SBARS_SIZEGRIP | SBARS_TOOLTIPS, 0, 0, 0, 0, f.hwnd(),
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(bar, WM_SETFONT, reinterpret_cast<WPARAM>(f.uiFont), FALSE);
    f.statusBar = bar;
    SizeStatusPanels(f);
    RestoreStatusTextOverControl(bar);
    for (int i = 0; i < 3; ++i) SendMessageW(bar, SB_SETTIPTEXTW, i, reinterpret_cast<LPARAM>(kStatusTips[i]));
    return bar;
}

void SizeStatusPanels(ViewerForm& f) {
    RECT client{};
    GetClientRect(f.hwnd(), &client);
    int right = client.right;
    int parts[3] = {std::max(0, right - kKindPanelWidth - kCountPanelWidth), std::max(0, right - kCountPanelWidth), -1};
    SendMessageW(f.statusBar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
}

void SetStatusPanel(ViewerForm& f, int panel, const std::wstring& text) {
    SendMessageW(f.statusBar, SB_SETTEXTW, panel - 1, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring StatusPanelText(ViewerForm& f, int panel) {
    LRESULT r = SendMessageW(f.statusBar, SB_GETTEXTLENGTHW, panel - 1, 0);
    std::wstring text(LOWORD(r) + 1, L'\0');
    SendMessageW(f.statusBar, SB_GETTEXTW, panel - 1, reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(r));
    return text;
}

}  // namespace quibex
