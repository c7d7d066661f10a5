// The viewer window's geometry kept in the INI file, and what closing it
// leaves behind.
#include <gtest/gtest.h>

#include <e2e/gtest_support.h>

#include "viewer_support.h"

namespace {

using namespace std::chrono_literals;

// Pixels as the INI keeps them: twips, 1440 to the inch.
std::wstring Twips(int pixels) { return std::to_wstring(pixels * 1440 / ScreenDpi()); }

std::wstring ViewerValue(QuibexSession& q, const wchar_t* key) { return q.folder().iniValue(L"Viewer", key, L"(none)"); }

RECT WindowRect(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

TEST(E2eViewerWindow, PositionAndSizeAreWrittenAtClose) {
    QuibexSession q;
    e2e::ScreenshotAtEnd shot;
    ViewerParts v = StartViewer(q, shot, L"six.zip");
    ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
    SetWindowPos(v.window, nullptr, 123, 77, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(e2e::waitUntil([&] {
        RECT r = WindowRect(v.window);
        return r.left == 123 && r.top == 77 && r.right - r.left == 700 && r.bottom - r.top == 500;
    }, 10s));
    EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
    EXPECT_EQ(ViewerValue(q, L"StartUpLeft"), Twips(123));
    EXPECT_EQ(ViewerValue(q, L"StartUpTop"), Twips(77));
    EXPECT_EQ(ViewerValue(q, L"StartUpWidth"), Twips(700));
    EXPECT_EQ(ViewerValue(q, L"StartUpHeight"), Twips(500));
    EXPECT_EQ(ViewerValue(q, L"WindowState"), L"0");
}

TEST(E2eViewerWindow, SavedPositionPastTheScreenIsPulledBack) {
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    const std::string left = "Viewer.StartUpLeft=" + e2e::toUtf8(Twips(screenW + 300));
    const std::string top = "Viewer.StartUpTop=" + e2e::toUtf8(Twips(screenH + 200));
    QuibexSession q(IniWith({left, top, "Viewer.StartUpWidth=" + e2e::toUtf8(Twips(600)),
                             "Viewer.StartUpHeight=" + e2e::toUtf8(Twips(400))}).c_str());
    e2e::ScreenshotAtEnd shot;
    ViewerParts v = StartViewer(q, shot, L"six.zip");
    ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
    const RECT r = WindowRect(v.window);
    EXPECT_EQ(r.right - r.left, 600);
    EXPECT_EQ(r.bottom - r.top, 400);
    EXPECT_EQ(r.right, screenW) << "a window past the right edge ends at it";
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.bottom, screenH) << "a window past the bottom comes back on the screen";
    EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
}

TEST(E2eViewerWindow, MaximizedStateIsKeptInTheIni) {
    {
        SCOPED_TRACE("WindowState 2 starts maximized");
        QuibexSession q(IniWith({"Viewer.StartUpLeft=1500", "Viewer.StartUpTop=1200", "Viewer.StartUpWidth=9000",
                                 "Viewer.StartUpHeight=6000", "Viewer.WindowState=2"}).c_str());
        ASSERT_TRUE(q.start(L"\"" + ViewerArchive(L"six.zip") + L"\""));
        ViewerParts v = WaitBuiltViewer(q);
        ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
        EXPECT_TRUE(e2e::waitUntil([&] { return IsZoomed(v.window) != FALSE; }, 10s));
        q.screenshot(L"viewer-maximized");
        EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
        EXPECT_EQ(ViewerValue(q, L"WindowState"), L"2");
        EXPECT_EQ(ViewerValue(q, L"StartUpLeft"), L"1500") << "a maximized window keeps the saved geometry";
        EXPECT_EQ(ViewerValue(q, L"StartUpWidth"), L"9000");
    }
    {
        SCOPED_TRACE("maximized by the user, then closed");
        QuibexSession q(IniWith({"Viewer.WindowState=0"}).c_str());
        ASSERT_TRUE(q.start(L"\"" + ViewerArchive(L"six.zip") + L"\""));
        ViewerParts v = WaitBuiltViewer(q);
        ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
        EXPECT_FALSE(IsZoomed(v.window));
        PostMessageW(v.window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        EXPECT_TRUE(e2e::waitUntil([&] { return IsZoomed(v.window) != FALSE; }, 10s));
        EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
        EXPECT_EQ(ViewerValue(q, L"WindowState"), L"2");
    }
}

// A start-up size other than the window's first one (saved in the INI, or
// maximized) must carry the status bar to the client's bottom edge.
TEST(E2eViewerWindow, StatusBarFollowsTheStartUpSize) {
    const std::initializer_list<std::string> cases[] = {
        {"Viewer.StartUpWidth=9000", "Viewer.StartUpHeight=6000"},
        {"Viewer.StartUpWidth=12000", "Viewer.StartUpHeight=9000"},
        {"Viewer.WindowState=2"},
    };
    for (const auto& ini : cases) {
        SCOPED_TRACE(*ini.begin());
        QuibexSession q(IniWith(ini).c_str());
        e2e::ScreenshotAtEnd shot;
        ViewerParts v = StartViewer(q, shot, L"six.zip");
        ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
        ExpectLaidOut(v, TextBox(v, 0));
        EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
    }
}

// Esc pressed with real input closes three of them (through the hidden Dummy
// box, as a text box has the focus); the close box's WM_CLOSE the fourth.
TEST(E2eViewerWindow, ClosingEmptiesTheWorkFolderAndEndsWithZero) {
    for (const wchar_t* archive : {L"six.zip", L"kinds.lzh", L"kinds.cab", L"onlyhtm.zip"}) {
        SCOPED_TRACE(e2e::toUtf8(archive));
        QuibexSession q;
        e2e::ScreenshotAtEnd shot;
        ViewerParts v = StartViewer(q, shot, archive);
        ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
        const std::wstring work = q.folder().file(L"temp");
        const bool texts = std::wstring(archive) != L"onlyhtm.zip";
        EXPECT_EQ(!e2e::listFolder(work).empty(), texts) << "the texts wait in the work folder";
        const DWORD attributes = GetFileAttributesW(work.c_str());
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN));
        if (std::wstring(archive) == L"kinds.cab") {
            EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
        } else {
            ASSERT_TRUE(e2e::bringToFront(v.window));
            ASSERT_TRUE(e2e::sendKey(VK_ESCAPE));
            EXPECT_EQ(q.process().waitForExit(), std::optional<DWORD>(0));
        }
        EXPECT_EQ(e2e::listFolder(work), std::vector<std::wstring>{});
        EXPECT_TRUE(q.process().topLevelWindows(false).empty());
    }
}

}  // namespace
