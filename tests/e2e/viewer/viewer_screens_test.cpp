// Screenshots of the viewer for the record, with the layout checks a picture
// alone would leave to the eye: nothing overlaps, nothing leaves the client.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <e2e/gtest_support.h>

#include "viewer_support.h"

namespace {

using namespace std::chrono_literals;

TEST(E2eViewerScreens, ThreeJapaneseTexts) {
    QuibexSession q;
    e2e::ScreenshotAtEnd shot;
    ViewerParts v = StartViewer(q, shot, L"japanese.lzh");
    ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
    const std::vector<std::wstring> captions = e2e::tabItems(v.tabs);
    EXPECT_EQ(std::set<std::wstring>(captions.begin(), captions.end()),
              (std::set<std::wstring>{L"春.txt", L"夏.txt", L"秋.txt"}));
    EXPECT_EQ(e2e::richEditText(TextBox(v, 0)).substr(0, 2), captions.at(0).substr(0, 1) + L"は");
    ExpectLaidOut(v, TextBox(v, 0));
    q.screenshot(L"viewer-japanese");
    EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
}

TEST(E2eViewerScreens, NoTextPage) {
    QuibexSession q;
    e2e::ScreenshotAtEnd shot;
    ViewerParts v = StartViewer(q, shot, L"onlyhtm.zip");
    ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
    ExpectLaidOut(v, TextBox(v, 0));
    q.screenshot(L"viewer-no-text");
    // Red pixels of the sentence on screen, not only in the box's formats.
    RECT r{};
    GetWindowRect(TextBox(v, 0), &r);
    const e2e::Image image = e2e::captureRect(r);
    int red = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t p = image.pixel(x, y);
            if ((p >> 16 & 0xFF) > 180 && (p >> 8 & 0xFF) < 90 && (p & 0xFF) < 90) ++red;
        }
    EXPECT_GT(red, 50) << "the red sentence shows in the text area";
    EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
}

TEST(E2eViewerScreens, NarrowWindow) {
    QuibexSession q;
    e2e::ScreenshotAtEnd shot;
    ViewerParts v = StartViewer(q, shot, L"japanese.lzh");
    ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
    RECT before{};
    GetWindowRect(v.window, &before);
    // Asking for less than the smallest width: the viewer keeps its minimum.
    SetWindowPos(v.window, nullptr, 0, 0, 20, before.bottom - before.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The move is sent, so the viewer has answered it (and widened itself
    // again if it keeps a minimum) once the size has changed.
    int width = 0;
    ASSERT_TRUE(e2e::waitUntil([&] {
        RECT a{};
        GetWindowRect(v.window, &a);
        width = a.right - a.left;
        return width < before.right - before.left;
    }, 10s));
    EXPECT_GE(width, GetSystemMetrics(SM_CXMINTRACK)) << "not narrower than a window may be dragged";
    ExpectLaidOut(v, TextBox(v, 0));
    q.screenshot(L"viewer-narrow");
    EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
}

}  // namespace
