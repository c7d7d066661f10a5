// The please-wait window, created in process and photographed.
#include <gtest/gtest.h>
#include <windows.h>

#include <e2e/screenshot.h>

#include "resource.h"
#include "core/init_window.h"

namespace {

TEST(WinInitWindow, ShowsTheWaitingMessageLeftOfCentre) {
    quibex::ShowInitWindow();
    HWND dlg = quibex::InitWindow();
    ASSERT_TRUE(dlg);
    EXPECT_TRUE(IsWindowVisible(dlg));
    HWND label = GetDlgItem(dlg, IDC_INIT_LBLMSG);
    wchar_t text[64] = {};
    GetWindowTextW(label, text, static_cast<int>(std::size(text)));
    EXPECT_STREQ(text, L"しばらくお待ちください...");

    RECT client, box;
    GetClientRect(dlg, &client);
    GetWindowRect(label, &box);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&box), 2);
    int w = box.right - box.left, h = box.bottom - box.top;
    EXPECT_EQ(box.left, static_cast<int>((client.right - w) / 1.5));
    EXPECT_EQ(box.top, (client.bottom - h) / 2);

    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    e2e::saveScreenshot(L"init-window", dlg);
    quibex::UnloadInitWindow();
    EXPECT_FALSE(quibex::InitWindow());
    EXPECT_FALSE(IsWindow(dlg));
}

}  // namespace
