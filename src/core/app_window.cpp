#include "core/app_window.h"

#include "core/app_state.h"

namespace quibex {

namespace {
HWND g_appWindow = nullptr;

LRESULT CALLBACK AppWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY && hwnd == g_appWindow) g_appWindow = nullptr;
    return DefWindowProcW(hwnd, msg, wp, lp);
}
}  // namespace

HWND CreateAppWindow(HINSTANCE instance) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = AppWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.lpszClassName = kAppWindowClass;
    RegisterClassW(&wc);
    // A never-shown top-level window; WS_POPUP keeps it off the taskbar.
    g_appWindow = CreateWindowExW(0, kAppWindowClass, kAppTitle, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                                  nullptr);
    return g_appWindow;
}

HWND AppWindow() { return g_appWindow; }

void SetAppTitle(const wchar_t* title) {
    if (g_appWindow) SetWindowTextW(g_appWindow, title);
}

}  // namespace quibex
