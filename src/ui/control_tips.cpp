#include "ui/control_tips.h"

#include <commctrl.h>

namespace quibex {

ControlTips::~ControlTips() {
    if (tip_ && IsWindow(tip_)) DestroyWindow(tip_);
}

bool ControlTips::Add(HWND window, HWND control, const std::wstring& text) {
    if (!tip_) {
        tip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, GetModuleHandleW(nullptr),
                               nullptr);
        if (!tip_) return false;
    }
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = window;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.hinst = GetModuleHandleW(nullptr);
    ti.lpszText = const_cast<wchar_t*>(text.c_str());
    return SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
}

}  // namespace quibex
