// What both yardsticks of the viewer benchmark share: one top-level window of
// class `className`, its one text child made by `addText`, shown at once, and
// the message loop. Returns the program's exit code.
#pragma once

#include <windows.h>

namespace yardstick {

inline LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// A line about as long as a text's first line, so the launcher sees it as text.
inline constexpr const wchar_t* kLine = L"This window only shows this line of text, and nothing else at all.";

template <class AddText>
int Run(HINSTANCE instance, int show, const wchar_t* className, HBRUSH background, AddText addText) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    if (!RegisterClassExW(&wc)) return 1;
    HWND window = CreateWindowExW(0, className, L"Minimal", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 640, 480,
                                  nullptr, nullptr, instance, nullptr);
    if (!window || !addText(window)) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

}  // namespace yardstick
