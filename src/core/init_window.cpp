#include "core/init_window.h"

#include <memory>

#include "core/app_window.h"
#include "core/window_base.h"
#include "resource.h"

namespace quibex {

namespace {

class InitDialog : public Dialog {
protected:
    // The label sits a little left of centre horizontally and centred vertically.
    bool OnInit() override {
        HWND label = Item(IDC_INIT_LBLMSG);
        RECT client, box;
        GetClientRect(hwnd(), &client);
        GetWindowRect(label, &box);
        int w = box.right - box.left, h = box.bottom - box.top;
        int left = static_cast<int>((client.right - w) / 1.5);
        int top = (client.bottom - h) / 2;
        SetWindowPos(label, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return true;
    }
    // The template centres it on the screen.
    bool CentreOnOwner() const override { return false; }
};

std::unique_ptr<InitDialog> g_init;

}  // namespace

void ShowInitWindow() {
    if (g_init) return;
    auto dialog = std::make_unique<InitDialog>();
    if (!dialog->CreateModeless(IDD_INIT, AppWindow())) return;
    UpdateWindow(dialog->hwnd());
    g_init = std::move(dialog);
}

void UnloadInitWindow() { g_init.reset(); }

HWND InitWindow() { return g_init ? g_init->hwnd() : nullptr; }

}  // namespace quibex
