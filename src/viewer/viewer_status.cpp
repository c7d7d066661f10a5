// The status bar: archive path, archive kind and number of texts, each panel
// with its tooltip.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "core/window_base.h"
#include "viewer/viewer_form.h"
#include "viewer/viewer_texts.h"

namespace quibex {
namespace {
// At 96 dpi; the panels never get narrower than these, scaled.
constexpr int kKindPanelWidth = 52;
constexpr int kCountPanelWidth = 40;
// The widest texts the panels show: an archive kind and a three-digit count.
constexpr const wchar_t* kKindSamples[] = {L"LHA", L"ZIP", L"CAB"};
constexpr const wchar_t* kCountSample = L"999";

bool RestoreOnMouseMove(HWND, UINT msg, WPARAM, LPARAM, DWORD_PTR, LRESULT&) {
    if (msg == WM_MOUSEMOVE) RestoreStatusText();
    return false;
}

// The width a panel needs for `text` in the bar's font: the text, the
// panel's borders and a little air on both sides.
int PanelWidthFor(HWND bar, HDC dc, const wchar_t* text, int dpi) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
    int borders[3] = {};
    SendMessageW(bar, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    return size.cx + 2 * (borders[0] + borders[2] + GetSystemMetrics(SM_CXEDGE)) + MulDiv(6, dpi, 96);
}
}  // namespace

// Once put back, the text is forgotten: the next hint keeps whatever the
// panel shows then (a path refitted to a new width meanwhile, say).
void RestoreStatusText() {
    ViewerForm* f = Form();
    if (!f || f->status.savedText.empty()) return;
    SetStatusPanel(*f, 1, f->status.savedText);
    f->status.savedText.clear();
}

void RestoreStatusTextOverControl(HWND control) { FilterMessages(control, RestoreOnMouseMove); }

HWND CreateStatusBar(ViewerForm& f) {
    HWND bar = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | SBARS_SIZEGRIP | SBARS_TOOLTIPS, 0, 0, 0, 0,
                               f.hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(bar, WM_SETFONT, reinterpret_cast<WPARAM>(f.uiFont.get()), FALSE);
    f.status.bar = bar;
    SizeStatusPanels(f);
    RestoreStatusTextOverControl(bar);
    for (int i = 0; i < 3; ++i) SendMessageW(bar, SB_SETTIPTEXTW, i, reinterpret_cast<LPARAM>(kStatusTips[i]));
    return bar;
}

// Panels 2 and 3 are sized from the bar's font, so nothing clips at any DPI;
// the last one also holds the size grip.
void SizeStatusPanels(ViewerForm& f) {
    int dpi = ViewerDpi(f);
    int kind = MulDiv(kKindPanelWidth, dpi, 96), count = MulDiv(kCountPanelWidth, dpi, 96);
    if (HDC dc = GetDC(f.status.bar)) {
        auto font = reinterpret_cast<HFONT>(SendMessageW(f.status.bar, WM_GETFONT, 0, 0));
        HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
        for (const wchar_t* sample : kKindSamples) kind = std::max(kind, PanelWidthFor(f.status.bar, dc, sample, dpi));
        count = std::max(count, PanelWidthFor(f.status.bar, dc, kCountSample, dpi) + GetSystemMetrics(SM_CXVSCROLL));
        if (old) SelectObject(dc, old);
        ReleaseDC(f.status.bar, dc);
    }
    RECT client{};
    GetClientRect(f.hwnd(), &client);
    int right = client.right;
    int parts[3] = {std::max(0, right - kind - count), std::max(0, right - count), -1};
    SendMessageW(f.status.bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
}

void SetStatusPanel(ViewerForm& f, int panel, const std::wstring& text) {
    SendMessageW(f.status.bar, SB_SETTEXTW, panel - 1, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring StatusPanelText(ViewerForm& f, int panel) {
    LRESULT r = SendMessageW(f.status.bar, SB_GETTEXTLENGTHW, panel - 1, 0);
    std::wstring text(LOWORD(r) + 1, L'\0');
    SendMessageW(f.status.bar, SB_GETTEXTW, panel - 1, reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(r));
    return text;
}

}  // namespace quibex
