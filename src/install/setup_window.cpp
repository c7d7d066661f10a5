// The welcome window. Creating the desktop and Send To shortcuts comes with
// the installation work; for now it greets the user and closes.
#include "install/setup_window.h"

#include <windows.h>

#include "../../res/resource.h"
#include "core/app_state.h"
#include "core/app_window.h"

namespace quibex {

namespace {
INT_PTR CALLBACK SetupProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE) App().MessageOwner = dlg;
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDC_SETUP_BTNYES:
        case IDC_SETUP_BTNNO:
        case IDCANCEL:
            EndDialog(dlg, LOWORD(wp));
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}
}  // namespace

void ShowSetupWindowModal() {
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETUP), AppWindow(), SetupProc, 0);
}

}  // namespace quibex
