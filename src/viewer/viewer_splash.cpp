// The cover shown while the tabs are built: the product name drawn twice,
// in the button-shadow colour a pixel and a half down-right, then in the
// button-face colour on top, which looks engraved.
#include "core/app_state.h"
#include "viewer/viewer_form.h"
#include "viewer/viewer_geometry.h"
#include "viewer/viewer_texts.h"

namespace quibex {
namespace {

constexpr const wchar_t* kSplashClass = L"QuibexViewerSplash";

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    ViewerForm* f = Form();
    HGDIOBJ old = f && f->logoFont ? SelectObject(dc, f->logoFont.get()) : nullptr;
    SIZE size{};
    GetTextExtentPoint32W(dc, kLogoText, static_cast<int>(wcslen(kLogoText)), &size);
    // picLogo centred in the cover.
    int x = CentreOffset(rc.right, size.cx), y = CentreOffset(rc.bottom, size.cy);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    TextOutW(dc, x + 2, y + 2, kLogoText, static_cast<int>(wcslen(kLogoText)));
    SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
    TextOutW(dc, x, y, kLogoText, static_cast<int>(wcslen(kLogoText)));
    if (old) SelectObject(dc, old);
    EndPaint(hwnd, &ps);
}

class SplashWindow : public Window {
public:
    bool Make(HWND viewer) {
        return Create({kSplashClass, 0, LoadCursorW(nullptr, IDC_WAIT)}, 0, L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                      viewer);
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case WM_PAINT: Paint(hwnd()); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_DROPFILES: return SendMessageW(GetParent(hwnd()), msg, wp, lp);
        }
        return Default(msg, wp, lp);
    }
};

}  // namespace

HWND CreateSplash(ViewerForm& f) {
    f.logoFont.reset(CreateFontW(-MulDiv(40, ScreenDpi(), 72), 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, ANSI_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                 VARIABLE_PITCH | FF_ROMAN, L"Times New Roman"));
    auto splash = std::make_unique<SplashWindow>();
    if (!splash->Make(f.hwnd())) return nullptr;
    f.splashWindow = std::move(splash);
    return f.splashWindow->hwnd();
}

void ShowSplash(ViewerForm& f) {
    if (!f.frame2 || f.built) return;
    // Frame2 covers the client area above the status bar.
    RECT client{}, bar{};
    GetClientRect(f.hwnd(), &client);
    if (f.status.bar && IsWindowVisible(f.status.bar)) GetWindowRect(f.status.bar, &bar);
    SetWindowPos(f.frame2, HWND_TOP, 0, 0, client.right, client.bottom - (bar.bottom - bar.top),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    InvalidateRect(f.frame2, nullptr, FALSE);
}

}  // namespace quibex
