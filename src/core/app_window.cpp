#include "core/app_window.h"

#include <memory>

#include "core/app_state.h"
#include "core/window_base.h"

namespace quibex {

namespace {

class ApplicationWindow : public Window {
public:
    bool Make(HINSTANCE instance) {
        // Never shown; WS_POPUP keeps it off the taskbar.
        return Create({kAppWindowClass, 0, nullptr, nullptr, LoadIconW(instance, MAKEINTRESOURCEW(1))}, 0, kAppTitle,
                      WS_POPUP, 0, 0, 0, 0, nullptr);
    }
};

std::unique_ptr<ApplicationWindow> g_appWindow;

}  // namespace

HWND CreateAppWindow(HINSTANCE instance) {
    if (!g_appWindow) {
        auto window = std::make_unique<ApplicationWindow>();
        if (!window->Make(instance)) return nullptr;
        g_appWindow = std::move(window);
    }
    return g_appWindow->hwnd();
}

HWND AppWindow() { return g_appWindow ? g_appWindow->hwnd() : nullptr; }

void SetAppTitle(const wchar_t* title) {
    if (HWND hwnd = AppWindow()) SetWindowTextW(hwnd, title);
}

}  // namespace quibex
