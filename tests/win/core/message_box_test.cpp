// ShowMessage against real windows: centred over the last activated window,
// pulled onto the screen, the title defaulted.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

#include "core/app_state.h"
#include "core/message_box.h"

namespace {

struct BoxSeen {
    RECT rect{};
    std::wstring caption;
    bool found = false;
};

// Waits on another thread for the box, notes where it is, and presses OK.
std::thread WatchForBox(BoxSeen& seen, HWND owner) {
    return std::thread([&seen, owner] {
        for (int i = 0; i < 400 && !seen.found; ++i) {
            HWND box = FindWindowW(L"#32770", nullptr);
            if (box && box != owner && IsWindowVisible(box)) {
                Sleep(100);  // let the hook's move land before reading the place
                GetWindowRect(box, &seen.rect);
                wchar_t caption[64] = {};
                GetWindowTextW(box, caption, static_cast<int>(std::size(caption)));
                seen.caption = caption;
                seen.found = true;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(25);
        }
    });
}

HWND MakeOwner(int x, int y, int w, int h) {
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE | WS_BORDER, x, y, w, h, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    quibex::App().MessageOwner = hwnd;
    return hwnd;
}

TEST(WinMessageBox, CentredOverTheOwnerAndClampedToTheScreen) {
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    struct Case {
        const char* what;
        int x, y, w, h;
    };
    const Case cases[] = {
        {"middle", 300, 200, 400, 300},
        {"right edge", sw - 100, 200, 400, 300},
        {"bottom edge", 300, sh - 50, 400, 300},
        {"off the top left", -500, -400, 400, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HWND owner = MakeOwner(c.x, c.y, c.w, c.h);
        BoxSeen seen;
        std::thread watcher = WatchForBox(seen, owner);
        std::wstring title;
        EXPECT_EQ(quibex::ShowMessage(L"位置のテスト", MB_OK | MB_ICONINFORMATION, title), IDOK);
        watcher.join();
        ASSERT_TRUE(seen.found);
        EXPECT_EQ(title, L"Quibex");
        EXPECT_EQ(seen.caption, L"Quibex");
        const int bw = seen.rect.right - seen.rect.left, bh = seen.rect.bottom - seen.rect.top;
        int x = c.x + c.w / 2 - bw / 2, y = c.y + c.h / 2 - bh / 2;
        if (x < 0) x = 0;
        if (x + bw > sw) x = sw - bw;
        if (y < 0) y = 0;
        if (y + bh > sh) y = static_cast<int>((sh - bh) * 0.9 + 0.5);
        EXPECT_NEAR(seen.rect.left, x, 1);
        EXPECT_NEAR(seen.rect.top, y, 1);
        EXPECT_EQ(quibex::App().MessageHook, nullptr) << "the hook removes itself";
        DestroyWindow(owner);
    }
    quibex::App().MessageOwner = nullptr;
}

}  // namespace
