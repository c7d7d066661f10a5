#include "core/init_window.h"

#include "../../res/resource.h"
#include "core/app_state.h"
#include "core/app_window.h"

namespace quibex {

namespace {
HWND g_init = nullptr;

// The label sits a little left of centre horizontally and centred vertically.
void PlaceLabel(HWND dlg) {
    HWND label = GetDlgItem(dlg, IDC_INIT_LBLMSG);
    RECT client, box;
    GetClientRect(dlg, &client);
    GetWindowRect(label, &box);
    int w = box.right - box.left, h = box.bottom - box.top;
    int left = static_cast<int>((client.right - w) / 1.5);
    int top = (client.bottom - h) / 2;
    SetWindowPos(label, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK InitProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        PlaceLabel(dlg);
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE) App().MessageOwner = dlg;
        return FALSE;
    case WM_DESTROY:
        if (dlg == g_init) g_init = nullptr;
        return FALSE;
    }
    return FALSE;
}
}  // namespace

void ShowInitWindow() {
    if (g_init) return;
    g_init = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_INIT), AppWindow(), InitProc, 0);
    if (!g_init) return;
    ShowWindow(g_init, SW_SHOW);
    UpdateWindow(g_init);
}

void UnloadInitWindow() {
    if (g_init) DestroyWindow(g_init);
    g_init = nullptr;
}

HWND InitWindow() { return g_init; }

}  // namespace quibex
