// The one-line tooltips of a window's controls: one tooltip control for the
// window, one tool per control, shown while the pointer rests on it.
#pragma once

#include <windows.h>

#include <string>

namespace quibex {

class ControlTips {
public:
    ControlTips() = default;
    ~ControlTips();
    ControlTips(const ControlTips&) = delete;
    ControlTips& operator=(const ControlTips&) = delete;

    // Gives `control` (a child of `window`) the tip `text`; the tooltip
    // control is made with the first tip.
    bool Add(HWND window, HWND control, const std::wstring& text);
    HWND hWnd() const { return tip_; }

private:
    HWND tip_ = nullptr;
};

}  // namespace quibex
