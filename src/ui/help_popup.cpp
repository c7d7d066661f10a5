#include "ui/help_popup.h"

#include <algorithm>

#include "core/handle.h"
#include "core/window_base.h"

namespace quibex {
namespace {

constexpr int kMaxWidth96 = 340;  // text width at 96 dpi, before it wraps
constexpr int kMargin96 = 8;

int ScreenDpi() {
    HDC dc = GetDC(nullptr);
    int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

class HelpPopup : public Window {
public:
    bool Make(HWND owner, const std::wstring& text, const RECT& beside, POINT pointer) {
        const int dpi = ScreenDpi();
        margin_ = MulDiv(kMargin96, dpi, 96);
        font_.reset(CreateFontW(-MulDiv(9, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                L"MS UI Gothic"));
        RECT textRect{0, 0, MulDiv(kMaxWidth96, dpi, 96), 0};
        {
            HDC dc = GetDC(nullptr);
            HGDIOBJ old = SelectObject(dc, font_.get());
            DrawTextW(dc, text.c_str(), -1, &textRect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
            SelectObject(dc, old);
            ReleaseDC(nullptr, dc);
        }
        RECT frame{0, 0, textRect.right + 2 * margin_, textRect.bottom + 2 * margin_};
        AdjustWindowRectEx(&frame, WS_POPUP | WS_BORDER, FALSE, WS_EX_TOOLWINDOW);
        const int w = frame.right - frame.left, h = frame.bottom - frame.top;
        POINT at = Placement(beside, pointer, w, h);
        return Create({kHelpPopupClass, CS_DROPSHADOW, nullptr, GetSysColorBrush(COLOR_INFOBK)}, WS_EX_TOOLWINDOW,
                      text.c_str(), WS_POPUP | WS_BORDER, at.x, at.y, w, h, owner);
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case WM_PAINT: OnPaint(); return 0;
        case WM_ACTIVATE:
            if (LOWORD(wp) == WA_INACTIVE) Close();
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: Close(); return 0;
        default: return Default(msg, wp, lp);
        }
    }
    void OnDestroyed() override;

private:
    // Below the control from the pointer's x, kept on the work area; above
    // the control when it does not fit below.
    static POINT Placement(const RECT& beside, POINT pointer, int w, int h) {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        if (GetMonitorInfoW(MonitorFromRect(&beside, MONITOR_DEFAULTTONEAREST), &info)) area = info.rcWork;
        int x = std::clamp<int>(pointer.x, beside.left, std::max<int>(beside.left, beside.right - 1));
        int y = beside.bottom + 2;
        if (y + h > area.bottom) y = beside.top - 2 - h;
        x = std::max<int>(area.left, std::min<int>(x, area.right - w));
        y = std::max<int>(area.top, std::min<int>(y, area.bottom - h));
        return {x, y};
    }

    void OnPaint() {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd(), &ps);
        RECT client;
        GetClientRect(hwnd(), &client);
        InflateRect(&client, -margin_, -margin_);
        HGDIOBJ old = SelectObject(dc, font_.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
        const int length = GetWindowTextLengthW(hwnd());
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        GetWindowTextW(hwnd(), text.data(), length + 1);
        DrawTextW(dc, text.c_str(), length, &client, DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, old);
        EndPaint(hwnd(), &ps);
    }

    void Close() { DestroyWindow(hwnd()); }

    UniqueFont font_;
    int margin_ = 8;
};

HelpPopup* g_popup = nullptr;

void HelpPopup::OnDestroyed() {
    if (g_popup == this) g_popup = nullptr;
    delete this;
}

}  // namespace

HWND ShowHelpPopup(HWND owner, const std::wstring& text, const RECT& beside, POINT pointer) {
    CloseHelpPopup();
    auto* popup = new HelpPopup();
    if (!popup->Make(owner, text, beside, pointer)) {
        delete popup;
        return nullptr;
    }
    g_popup = popup;
    ShowWindow(popup->hwnd(), SW_SHOW);
    UpdateWindow(popup->hwnd());
    return popup->hwnd();
}

HWND HelpPopupWindow() { return g_popup ? g_popup->hwnd() : nullptr; }

void CloseHelpPopup() {
    if (g_popup) DestroyWindow(g_popup->hwnd());
}

}  // namespace quibex
