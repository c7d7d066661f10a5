// The welcome window. Creating the desktop and Send To shortcuts comes with
// the installation work; for now it greets the user and closes.
#include "install/setup_window.h"

#include "core/app_window.h"
#include "core/window_base.h"
#include "resource.h"

namespace quibex {

namespace {
class SetupDialog : public Dialog {
protected:
    bool OnCommand(int id, int, HWND) override {
        if (id != IDC_SETUP_BTNYES && id != IDC_SETUP_BTNNO && id != IDCANCEL) return false;
        End(id);
        return true;
    }
    bool CentreOnOwner() const override { return false; }
};
}  // namespace

void ShowSetupWindowModal() {
    SetupDialog dialog;
    dialog.RunModal(IDD_SETUP, AppWindow());
}

}  // namespace quibex
