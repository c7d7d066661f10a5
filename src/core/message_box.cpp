#include "core/message_box.h"

#include "core/app_state.h"
#include "core/message_placement.h"

namespace quibex {

namespace {

LRESULT CALLBACK CenterMessageBoxHook(int code, WPARAM wParam, LPARAM) {
    if (code != HCBT_ACTIVATE) return 0;
    AppState& app = App();
    HWND box = reinterpret_cast<HWND>(wParam);
    RECT owner{}, self{};
    GetWindowRect(app.MessageOwner, &owner);
    GetWindowRect(box, &self);
    int w = self.right - self.left, h = self.bottom - self.top;
    Point p = CenteredBoxPosition({owner.left, owner.top, owner.right, owner.bottom}, w, h,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    SetWindowPos(box, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    UnhookWindowsHookEx(app.MessageHook);
    app.MessageHook = nullptr;
    return 0;
}

}  // namespace

int ShowMessage(const std::wstring& text, UINT style, std::wstring& title) {
    AppState& app = App();
    if (app.MessageOwner && IsWindow(app.MessageOwner))
        app.MessageHook = SetWindowsHookExW(WH_CBT, CenterMessageBoxHook, nullptr, GetCurrentThreadId());
    if (title.empty()) title = kAppTitle;
    HWND owner = app.MessageOwner && IsWindow(app.MessageOwner) ? app.MessageOwner : nullptr;
    int result = MessageBoxW(owner, text.c_str(), title.c_str(), style);
    if (app.MessageHook) {  // the box never activated: do not leave the hook behind
        UnhookWindowsHookEx(app.MessageHook);
        app.MessageHook = nullptr;
    }
    return result;
}

int ShowMessage(const std::wstring& text, UINT style) {
    std::wstring title;
    return ShowMessage(text, style, title);
}

int ShowPlainMessage(const std::wstring& text, UINT style) {
    return MessageBoxW(nullptr, text.c_str(), kAppTitle, style | MB_SETFOREGROUND);
}

void PlayBeep(int pcBeep) {
    if (pcBeep == 1)
        Beep(500, 100);
    else
        MessageBeep(MB_OK);
}

}  // namespace quibex
