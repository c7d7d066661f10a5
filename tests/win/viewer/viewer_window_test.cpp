// Geometry, window state, closing and dropped archives.
#include "core/app_state.h"
#include "viewer/viewer_control.h"
#include "viewer/viewer_form.h"
#include "viewer/viewer_window.h"
#include "viewer_fixture.h"

using namespace quibex;

namespace {

class ViewerWindowTest : public ViewerTest {};

int Twips(int pixels) {
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return pixels * 1440 / dpi;
}

TEST_F(ViewerWindowTest, SavedPositionPastTheScreenIsPulledBack) {
    WritePrivateProfileStringW(L"Viewer", L"StartUpLeft", L"20000000", iniPath.c_str());
    WritePrivateProfileStringW(L"Viewer", L"StartUpTop", L"-300", iniPath.c_str());
    WritePrivateProfileStringW(L"Viewer", L"StartUpWidth", L"6000", iniPath.c_str());
    WritePrivateProfileStringW(L"Viewer", L"StartUpHeight", L"4500", iniPath.c_str());
    AddText(L"a.txt", "a");
    Open({L"a.txt"});
    RECT r{};
    GetWindowRect(ViewerWindow(), &r);
    EXPECT_NEAR(r.right, GetSystemMetrics(SM_CXSCREEN), 1);
    EXPECT_EQ(r.top, 0);
    EXPECT_NEAR(Twips(r.right - r.left), 6000, 15);
}

TEST_F(ViewerWindowTest, GeometryIsWrittenOnResizeAndClose) {
    AddText(L"a.txt", "a");
    Open({L"a.txt"});
    SetWindowPos(ViewerWindow(), nullptr, 30, 40, 700, 500, SWP_NOZORDER);
    Pump(20);
    EXPECT_EQ(Ini(L"Viewer", L"StartUpLeft"), std::to_wstring(Twips(30)));
    EXPECT_EQ(Ini(L"Viewer", L"StartUpWidth"), std::to_wstring(Twips(700)));
    CloseAndWait();
    EXPECT_EQ(Ini(L"Viewer", L"WindowState"), L"0");
    EXPECT_EQ(Ini(L"Viewer", L"StartUpTop"), std::to_wstring(Twips(40)));
    EXPECT_EQ(Ini(L"Viewer", L"StartUpHeight"), std::to_wstring(Twips(500)));
}

TEST_F(ViewerWindowTest, StartUpSizeZeroWritesNoSize) {
    AppSettings().StartUpSize = 0;
    AddText(L"a.txt", "a");
    Open({L"a.txt"});
    SetWindowPos(ViewerWindow(), nullptr, 30, 40, 700, 500, SWP_NOZORDER);
    CloseAndWait();
    EXPECT_EQ(Ini(L"Viewer", L"StartUpWidth"), L"(none)");
    EXPECT_EQ(Ini(L"Viewer", L"StartUpLeft"), std::to_wstring(Twips(30)));
}

TEST_F(ViewerWindowTest, MaximizedIsRememberedAndKeepsNormalGeometry) {
    WritePrivateProfileStringW(L"Viewer", L"WindowState", L"2", iniPath.c_str());
    WritePrivateProfileStringW(L"Viewer", L"StartUpWidth", L"7500", iniPath.c_str());
    AddText(L"a.txt", "a");
    Open({L"a.txt"});
    EXPECT_TRUE(IsZoomed(ViewerWindow()));
    CloseAndWait();
    EXPECT_EQ(Ini(L"Viewer", L"WindowState"), L"2");
    EXPECT_EQ(Ini(L"Viewer", L"StartUpWidth"), L"7500");
}

TEST_F(ViewerWindowTest, CloseEmptiesTheWorkFolder) {
    AddText(L"a.txt", "a");
    AddText(L"b.txt", "b");
    Open({L"a.txt", L"b.txt"});
    CloseAndWait();
    EXPECT_EQ(GetFileAttributesW((work + L"a.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW((work + L"b.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ViewerWindowTest, FailedReadKeepsFilesAndState) {
    AddText(L"a.txt", "a");
    App().ReadFailed = true;
    ASSERT_NE(LoadViewer(archive), nullptr);
    UnloadViewer();
    ASSERT_TRUE(PumpUntil([] { return ViewerWindow() == nullptr; }));
    EXPECT_NE(GetFileAttributesW((work + L"a.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Ini(L"Viewer", L"WindowState"), L"(none)");
}

// A toolbar hint replaces panel 1 and keeps the path it replaced; moving the
// mouse over the window, the tab strip, the status bar or a text puts it back.
TEST_F(ViewerWindowTest, MouseMoveRestoresTheStatusTextAHintReplaced) {
    AddText(L"a.txt", "a\r\n");
    Open({L"a.txt"});
    std::wstring path = Panel(1);
    ASSERT_FALSE(path.empty());
    for (HWND over : {ViewerTabStrip(), ViewerStatusBar(), ViewerWindow(), ViewerTextBox(0)}) {
        Form()->status.savedText = path;
        SetStatusPanel(*Form(), 1, L"hint");
        SendMessageW(over, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        EXPECT_EQ(Panel(1), path);
    }
    // Without a saved text the panel stays as it is.
    Form()->status.savedText.clear();
    SetStatusPanel(*Form(), 1, L"other");
    SendMessageW(ViewerTabStrip(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(Panel(1), L"other");
}

TEST_F(ViewerWindowTest, EscClosesThroughDummy) {
    AddText(L"a.txt", "a");
    Open({L"a.txt"});
    SetFocus(ViewerTextBox(0));
    ASSERT_EQ(GetFocus(), ViewerTextBox(0));
    CloseViewerByEsc();
    ASSERT_TRUE(PumpUntil([] { return ViewerWindow() == nullptr; }));
    EXPECT_EQ(GetFileAttributesW((work + L"a.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}


class ViewerDrop : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        RecordDrops();
        AddText(L"a.txt", "a");
        Open({L"a.txt"});
        dropped = work + L"other.lzh";
        AddText(L"other.lzh", "x");
    }
    std::wstring dropped;
};

TEST_F(ViewerDrop, RefusesRecycleBinFoldersAndMissingFiles) {
    DropArchive(L"C:\\RECYCLED\\DC1.lzh", 0);
    DropArchive(work.substr(0, work.size() - 1), 0);
    DropArchive(work + L"missing.lzh", 0);
    EXPECT_TRUE(g_dropStarted.empty());
    EXPECT_EQ(g_dropEnded, 0);
}

TEST_F(ViewerDrop, SingleInstanceHandsOverAndEnds) {
    DropArchive(dropped, 0);
    ASSERT_EQ(g_dropStarted.size(), 1u);
    EXPECT_NE(g_dropStarted[0].find(L"\\Quibex.exe\" \"" + dropped + L"\""), std::wstring::npos) << g_dropStarted[0];
    EXPECT_EQ(g_dropEnded, 1);
    EXPECT_EQ(Ini(L"Option", L"DroppedArcFile"), L"1");
}

TEST_F(ViewerDrop, SideBySideStaysUnlessShiftAlone) {
    UnloadViewer();
    PumpUntil([] { return ViewerWindow() == nullptr; });
    WritePrivateProfileStringW(L"Option", L"PrevInstance", L"1", iniPath.c_str());
    AddText(L"a.txt", "a");
    AddText(L"other.lzh", "x");  // the close emptied the work folder
    Open({L"a.txt"});
    DropArchive(dropped, 0);
    DropArchive(dropped, 2);
    EXPECT_EQ(g_dropStarted.size(), 2u);
    EXPECT_EQ(g_dropEnded, 0);
    EXPECT_EQ(Ini(L"Option", L"DroppedArcFile"), L"(none)");
    DropArchive(dropped, 1);
    EXPECT_EQ(g_dropEnded, 1);
}

}  // namespace
