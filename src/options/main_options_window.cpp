// The option controls come with the options work; the window already is the
// program's only window when there is no archive, and closing it ends the run.
#include "options/main_options_window.h"

#include <memory>

#include "core/app_window.h"
#include "core/window_base.h"
#include "resource.h"

namespace quibex {

namespace {
class MainOptionsDialog : public Dialog {
protected:
    bool OnCommand(int id, int, HWND) override {
        if (id != IDC_OPTIONS_BTNCLOSE && id != IDCANCEL) return false;
        End(id);
        return true;
    }
    void OnDestroyed() override { PostQuitMessage(0); }
    bool CentreOnOwner() const override { return false; }
};

std::unique_ptr<MainOptionsDialog> g_options;
}  // namespace

void ShowMainOptionsWindow() {
    g_options = std::make_unique<MainOptionsDialog>();
    if (!g_options->CreateModeless(IDD_OPTIONS, AppWindow())) {
        g_options.reset();
        PostQuitMessage(0);
        return;
    }
    SetForegroundWindow(g_options->hwnd());
}

}  // namespace quibex
