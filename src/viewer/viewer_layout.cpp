// Where the viewer's parts go on every size change, the archive path fitted
// into the status bar, and the window geometry kept in the INI file (twips).
#include <windows.h>

#include <commctrl.h>

#include "core/app_state.h"
#include "core/win_profile_store.h"
#include "viewer/path_ellipsis.h"
#include "viewer/viewer_form.h"
#include "viewer/viewer_geometry.h"

namespace quibex {
namespace {

// Design-time geometry in twips, used when the INI has none.
constexpr TwipRect kDesignRect{1200, 900, 9600, 7200};
constexpr int kLayoutGapTwips = 100;

int Height(HWND w) {
    RECT r{};
    if (w) GetWindowRect(w, &r);
    return r.bottom - r.top;
}

bool ToolbarShown(const ViewerForm& f) { return f.toolbar.bar && AppSettings().NotToolbar == 0; }

}  // namespace

int ScreenDpi() {
    HDC dc = GetDC(nullptr);
    int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

int ViewerDpi(const ViewerForm& f) { return f.dpi > 0 ? f.dpi : ScreenDpi(); }

void LayoutViewer(ViewerForm& f) {
    HCURSOR old = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    RECT client{};
    GetClientRect(f.hwnd(), &client);
    RECT tb{};
    if (f.toolbar.bar) GetWindowRect(f.toolbar.bar, &tb);
    int dpi = ViewerDpi(f);
    ViewerLayout l = ComputeLayout(client.right, client.bottom, Height(f.status.bar), ToolbarShown(f),
                                   tb.right - tb.left, tb.bottom - tb.top, TwipsToPixels(kLayoutGapTwips, dpi));
    if (ToolbarShown(f))
        SetWindowPos(f.toolbar.bar, nullptr, l.toolbarLeft, l.toolbarTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(f.tabs.strip, nullptr, 0, 0, l.tabWidth, l.tabHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    // Frame1 takes the tab strip's display area; the boxes fill Frame1.
    RECT display{0, 0, l.tabWidth, l.tabHeight};
    SendMessageW(f.tabs.strip, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    int w = display.right > display.left ? display.right - display.left : 0;
    int h = display.bottom > display.top ? display.bottom - display.top : 0;
    SetWindowPos(f.frame1, HWND_TOP, display.left, display.top, w, h, SWP_NOACTIVATE);
    for (const auto& view : f.tabs.views)
        SetWindowPos(view->Box(), nullptr, 0, 0, w, h, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    if (f.built) SyncTabTooltips(f);  // the tabs may have moved
    InvalidateRect(f.hwnd(), nullptr, TRUE);
    SetCursor(old);
}

std::wstring FitPathToStatus(ViewerForm& f, const std::wstring& path) {
    // The first panel ends where SizeStatusPanels put it.
    int edges[3] = {};
    SendMessageW(f.status.bar, SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges));
    int width = edges[0];
    HDC dc = GetDC(f.status.bar);
    auto font = reinterpret_cast<HFONT>(SendMessageW(f.status.bar, WM_GETFONT, 0, 0));
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    auto measure = [dc](const std::wstring& text) {
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    std::wstring fitted = CompactPathText(path, width - 4, measure);
    if (old) SelectObject(dc, old);
    ReleaseDC(f.status.bar, dc);
    return fitted;
}

void RefreshStatusPath(ViewerForm& f) {
    SizeStatusPanels(f);
    f.status.savedText.clear();  // a hint it replaces would bring back the old fit
    SetStatusPanel(f, 1, FitPathToStatus(f, f.status.path));
}

void ApplyMinimumSize(ViewerForm& f, MINMAXINFO& info) {
    RECT tb{};
    if (ToolbarShown(f)) GetWindowRect(f.toolbar.bar, &tb);
    int dpi = ViewerDpi(f);
    // The rules are in window units; the frame is added so the client can
    // still hold the tab strip and the bars.
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(f.hwnd(), GWL_STYLE)), FALSE, 0);
    int width = TwipsToPixels(MinimumWidth(PixelsToTwips(tb.right - tb.left, dpi)), dpi);
    int height =
        TwipsToPixels(MinimumHeight(PixelsToTwips(Height(f.status.bar), dpi), PixelsToTwips(f.initialTabHeight, dpi),
                                    PixelsToTwips(tb.bottom - tb.top, dpi)),
                      dpi);
    info.ptMinTrackSize.x = std::max<LONG>(info.ptMinTrackSize.x, width);
    info.ptMinTrackSize.y = height + (frame.bottom - frame.top);
}

bool EnforceMinimumSize(ViewerForm& f) {
    MINMAXINFO info{};
    ApplyMinimumSize(f, info);
    RECT r{};
    GetWindowRect(f.hwnd(), &r);
    int width = std::max<int>(r.right - r.left, info.ptMinTrackSize.x);
    int height = std::max<int>(r.bottom - r.top, info.ptMinTrackSize.y);
    if (width == r.right - r.left && height == r.bottom - r.top) return false;
    SetWindowPos(f.hwnd(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void ReadGeometry(ViewerForm& f) {
    const Settings& s = AppSettings();
    WinProfileStore ini(App().IniPath);
    TwipRect r = kDesignRect;
    if (s.StartUpPos == 1) {
        r.left = ini.readInt(L"Viewer", L"StartUpLeft", r.left);
        r.top = ini.readInt(L"Viewer", L"StartUpTop", r.top);
    }
    if (s.StartUpSize == 1) {
        r.width = ini.readInt(L"Viewer", L"StartUpWidth", r.width);
        r.height = ini.readInt(L"Viewer", L"StartUpHeight", r.height);
    }
    int dpi = ScreenDpi();
    r = ClampToScreen(r, PixelsToTwips(GetSystemMetrics(SM_CXSCREEN), dpi),
                      PixelsToTwips(GetSystemMetrics(SM_CYSCREEN), dpi));
    SetWindowPos(f.hwnd(), nullptr, TwipsToPixels(r.left, dpi), TwipsToPixels(r.top, dpi), TwipsToPixels(r.width, dpi),
                 TwipsToPixels(r.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
}

void WriteGeometry(ViewerForm& f) {
    const Settings& s = AppSettings();
    if (s.StartUpPos != 1 && s.StartUpSize != 1) return;
    RECT r{};
    GetWindowRect(f.hwnd(), &r);
    int dpi = ScreenDpi();
    WinProfileStore ini(App().IniPath);
    auto put = [&](const wchar_t* key, int pixels) {
        ini.write(L"Viewer", key, std::to_wstring(PixelsToTwips(pixels, dpi)));
    };
    if (s.StartUpPos == 1) {
        put(L"StartUpLeft", r.left);
        put(L"StartUpTop", r.top);
    }
    if (s.StartUpSize == 1) {
        put(L"StartUpWidth", r.right - r.left);
        put(L"StartUpHeight", r.bottom - r.top);
    }
}

void WriteWindowState(ViewerForm& f) {
    const wchar_t* state = IsIconic(f.hwnd()) ? L"1" : IsZoomed(f.hwnd()) ? L"2" : L"0";
    WinProfileStore(App().IniPath).write(L"Viewer", L"WindowState", std::wstring(state));
}

}  // namespace quibex
