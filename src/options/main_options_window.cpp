// The option controls come with the options work; the window already is the
// program's only window when there is no archive, and closing it ends the run.
#include "options/main_options_window.h"

#include <windows.h>

#include "../../res/resource.h"
#include "core/app_state.h"
#include "core/app_window.h"

namespace quibex {

namespace {
INT_PTR CALLBACK OptionsProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE) App().MessageOwner = dlg;
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wp) == IDC_OPTIONS_BTNCLOSE || LOWORD(wp) == IDCANCEL) {
            DestroyWindow(dlg);
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return FALSE;
    }
    return FALSE;
}
}  // namespace

void ShowMainOptionsWindow() {
    HWND dlg = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_OPTIONS), AppWindow(), OptionsProc, 0);
    if (!dlg) {
        PostQuitMessage(0);
        return;
    }
    ShowWindow(dlg, SW_SHOW);
    SetForegroundWindow(dlg);
}

}  // namespace quibex
