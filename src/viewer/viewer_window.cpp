#include "viewer/viewer_window.h"

#include <commctrl.h>

#include "core/app_state.h"
#include "core/app_window.h"

namespace quibex {
namespace {

constexpr const wchar_t* kViewerClass = L"QuibexViewer";
HWND g_viewer = nullptr;
HWND g_tabs = nullptr;

LRESULT CALLBACK ViewerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE:
        if (g_tabs) MoveWindow(g_tabs, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        return 0;
    case WM_DESTROY:
        g_viewer = nullptr;
        g_tabs = nullptr;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

HWND LoadViewer() {
    if (g_viewer) return g_viewer;
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ViewerProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kViewerClass;
    RegisterClassExW(&wc);
    App().ViewerLoading = true;
    g_viewer = CreateWindowExW(WS_EX_APPWINDOW, kViewerClass, L"Quibex", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                               CW_USEDEFAULT, 640, 480, AppWindow(), nullptr, inst, nullptr);
    return g_viewer;
}

HWND ViewerWindow() { return g_viewer; }

void ShowViewerWindow() {
    if (g_viewer) ShowWindow(g_viewer, SW_SHOWNORMAL);
}

void BuildViewer() {
    if (!g_viewer) return;
    RECT rc;
    GetClientRect(g_viewer, &rc);
    g_tabs = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, rc.right,
                             rc.bottom, g_viewer, nullptr, GetModuleHandleW(nullptr), nullptr);
    int i = 0;
    for (const auto& name : App().ExtractedFiles) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(name.c_str());
        SendMessageW(g_tabs, TCM_INSERTITEMW, i++, reinterpret_cast<LPARAM>(&item));
    }
    SetForegroundWindow(g_viewer);
}

void UnloadViewer() {
    if (g_viewer) DestroyWindow(g_viewer);
}

}  // namespace quibex
