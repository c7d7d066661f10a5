// Answers the next message box of this process from a second thread, while
// the test's thread runs the box's modal loop.
#pragma once

#include <windows.h>

#include <string>
#include <thread>

#ifdef VIEWER_SCREENSHOTS
#include "e2e/screenshot.h"
#endif

inline BOOL CALLBACK FindOwnBox(HWND w, LPARAM found) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(w) || wcscmp(cls, L"#32770") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
}

class NextBox {
public:
    // `screenshot`: a name to save the screen under while the box shows.
    explicit NextBox(int answer, std::wstring screenshot = L"")
        : screenshot_(std::move(screenshot)), worker_([this, answer] { Answer(answer); }) {}
    ~NextBox() { Join(); }
    // The box's text; empty when none came within 10 s.
    std::wstring Text() {
        Join();
        return text_;
    }

private:
    void Join() {
        if (worker_.joinable()) worker_.join();
    }
    void Answer(int answer) {
        const ULONGLONG deadline = GetTickCount64() + 10000;
        while (GetTickCount64() < deadline) {
            HWND box = nullptr;
            EnumWindows(FindOwnBox, reinterpret_cast<LPARAM>(&box));
            if (box) {
                wchar_t text[256] = {};
                GetWindowTextW(GetDlgItem(box, 0xFFFF), text, 256);
                text_ = text;
#ifdef VIEWER_SCREENSHOTS
                if (!screenshot_.empty()) {
                    Sleep(300);  // drawn and centred
                    e2e::saveScreenshot(screenshot_);
                }
#endif
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
                return;
            }
            Sleep(10);
        }
    }
    std::wstring screenshot_, text_;
    std::thread worker_;
};

