// The toolbar from outside: seven buttons read back in order, each hint in
// the status bar while the pointer is over its button, the pointed-at image
// on screen, every button clicked with the recorder standing in for the
// user's tools, Shift+click on "Open", a document picked from the ▼ menu,
// the toolbar at 200 % DPI.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <e2e/gtest_support.h>

#include "toolbar_support.h"

namespace {

using namespace std::chrono_literals;

constexpr int kButtonCount = 7;
constexpr int kOpenButton = 5;

// Every tool of the session is the recorder; printing does not ask first.
void UseRecorderTools(QuibexSession& q) {
    q.folder().copyFrom({L"e2e_recorder.exe"});
    const std::string recorder = e2e::toUtf8(q.folder().file(L"e2e_recorder.exe"));
    q.folder().writeIni(IniWith({"Option.ArcAplPath=" + recorder, "Option.TxtEdtPath=" + recorder,
                                 "Option.PrtToolPath=" + recorder, "Option.PrtConfirm=0"}));
}

TEST(E2eToolbar, ButtonsReadBackWithTheirHintsWhileHovering) {
    QuibexSession q;
    UseRecorderTools(q);
    e2e::ScreenshotAtEnd shot;
    ViewerParts v = StartViewer(q, shot, L"links.zip");
    ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
    HWND tb = Toolbar(v.window);
    ASSERT_TRUE(tb);
    const std::vector<e2e::ToolbarButton> buttons = e2e::toolbarButtons(tb);
    ASSERT_EQ(buttons.size(), static_cast<size_t>(kButtonCount));
    // Left, Right, Search, Text, Print, Open, Exit; images in the order of the icon settings.
    const int images[] = {0, 1, 6, 2, 3, 4, 5};
    for (int i = 0; i < kButtonCount; ++i) {
        EXPECT_EQ(buttons[i].commandId, 1100 + i);
        EXPECT_EQ(buttons[i].image, images[i]);
        EXPECT_TRUE(buttons[i].state & TBSTATE_ENABLED);
        EXPECT_EQ((buttons[i].style & BTNS_DROPDOWN) != 0, i == kOpenButton) << "the archive has documents";
    }
    q.screenshot(L"toolbar-100");
    const std::wstring path = e2e::statusBarTexts(v.status).at(0);
    const std::wstring hints[] = {L"前のテキストに戻る (Alt + ←)",
                                  L"次のテキストに進む (Alt + →)",
                                  L"文字列の検索 (Ctrl + F)",
                                  L"テキストファイルを外部ツールで開く (Ctrl + T)",
                                  L"テキストを外部ツールで印刷する (Ctrl + P)",
                                  L"書庫ファイルを外部ツールで開く (Ctrl + O)",
                                  L"終了 (Esc)"};
    const RECT openButton = ButtonOnScreen(tb, kOpenButton);
    const e2e::Image openBefore = e2e::captureRect(openButton);
    ASSERT_TRUE(e2e::bringToFront(v.window));
    auto panel = [&] { return e2e::statusBarTexts(v.status).at(0); };
    for (int i = 0; i < kButtonCount; ++i) {
        EXPECT_TRUE(HoverUntil(Centre(ButtonOnScreen(tb, i)), [&] { return panel() == hints[i]; }))
            << "button " << i << ": " << e2e::toUtf8(panel());
        if (i == kOpenButton) {
            // The pointed-at image shows while the pointer is there.
            EXPECT_TRUE(e2e::waitUntil([&] { return e2e::captureRect(openButton).rgb != openBefore.rgb; }, 5s));
            q.screenshot(L"toolbar-hover");
        }
    }
    RECT text{};
    GetWindowRect(TextBox(v, 0), &text);
    EXPECT_TRUE(HoverUntil(Centre(text), [&] { return panel() == path; })) << "over the text the path comes back";
    EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
}

TEST(E2eToolbar, EveryButtonDoesItsAction) {
    QuibexSession q;
    UseRecorderTools(q);
    e2e::ScreenshotAtEnd shot;
    ViewerParts v = StartViewer(q, shot, L"links.zip");
    ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
    HWND tb = Toolbar(v.window);
    auto click = [&](int button) { return e2e::clickAt(Centre(ButtonOnScreen(tb, button))); };
    const std::wstring recorder = L"\"" + q.folder().file(L"e2e_recorder.exe") + L"\" ";
    const std::wstring work = q.folder().file(L"temp") + L"\\";

    ASSERT_TRUE(click(1));  // Right
    EXPECT_TRUE(e2e::waitUntil([&] { return e2e::tabSelection(v.tabs) == 1; }, 5s));
    ASSERT_TRUE(click(0));  // Left
    EXPECT_TRUE(e2e::waitUntil([&] { return e2e::tabSelection(v.tabs) == 0; }, 5s));
    ASSERT_TRUE(click(2));  // Search: the search window over the viewer
    HWND search = q.waitWindow(L"検索");
    ASSERT_TRUE(search) << e2e::describeTopLevel(q.pid());
    EXPECT_EQ(GetWindow(search, GW_OWNER), v.window);
    e2e::closeWindow(search);
    ASSERT_TRUE(e2e::waitForWindowGone(search));
    const std::wstring shown = work + e2e::tabItems(v.tabs).at(0);
    ASSERT_TRUE(click(3));  // Text: to the editor
    ASSERT_TRUE(e2e::waitUntil([&] { return q.recorderLines().size() == 1; }, 10s));
    EXPECT_EQ(q.recorderLines().back(), recorder + L"\"" + shown + L"\"");
    ASSERT_TRUE(click(4));  // Print: to the print tool
    ASSERT_TRUE(e2e::waitUntil([&] { return q.recorderLines().size() == 2; }, 10s));
    EXPECT_NE(q.recorderLines().back().find(shown), std::wstring::npos) << e2e::toUtf8(q.recorderLines().back());
    // Open: to the archiver tool; "ExitAfterOpen" 0 keeps the viewer.
    ASSERT_TRUE(click(kOpenButton));
    ASSERT_TRUE(e2e::waitUntil([&] { return q.recorderLines().size() == 3; }, 10s));
    EXPECT_EQ(q.recorderLines().back(), recorder + L"\"" + ViewerArchive(L"links.zip") + L"\"");
    Sleep(500);
    EXPECT_TRUE(IsWindow(v.window));
    // Shift inverts it: opened, then closed.
    ASSERT_TRUE(ShiftClickAt(Centre(ButtonOnScreen(tb, kOpenButton))));
    EXPECT_EQ(q.process().waitForExit(), std::optional<DWORD>(0));
    EXPECT_TRUE(e2e::waitUntil([&] { return q.recorderLines().size() == 4; }, 10s));
}

TEST(E2eToolbar, ExitCloses) {
    QuibexSession q;
    e2e::ScreenshotAtEnd shot;
    ViewerParts v = StartViewer(q, shot, L"links.zip");
    ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
    ASSERT_TRUE(e2e::clickAt(Centre(ButtonOnScreen(Toolbar(v.window), 6))));
    EXPECT_EQ(q.process().waitForExit(), std::optional<DWORD>(0));
    EXPECT_FALSE(e2e::pathExists(q.folder().file(L"temp\\readme.txt"))) << "the work folder is emptied";
}

// The ▼ part lists the archive's documents by file name, in list order;
// the one picked is extracted and opened through its association.
TEST(E2eToolbar, DocumentPickedFromTheMenuOpensThroughItsAssociation) {
    QuibexSession q;
    q.folder().copyFrom({L"e2e_recorder.exe"});
    ExtensionToRecorder htm(L".htm", q.folder().file(L"e2e_recorder.exe"));
    e2e::ScreenshotAtEnd shot;
    ViewerParts v = StartViewer(q, shot, L"links.zip");
    ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
    const RECT open = ButtonOnScreen(Toolbar(v.window), kOpenButton);
    ASSERT_TRUE(e2e::clickAt(POINT{open.right - 5, (open.top + open.bottom) / 2}));
    HWND menu = e2e::waitForWindow(e2e::WindowQuery().withClass(L"#32768").inProcess(q.pid()), 5s);
    ASSERT_TRUE(menu) << e2e::describeTopLevel(q.pid());
    q.screenshot(L"toolbar-document-menu");
    // The second item: guide.htm of the folder doc.
    ASSERT_TRUE(e2e::sendKey(VK_DOWN));
    ASSERT_TRUE(e2e::sendKey(VK_DOWN));
    ASSERT_TRUE(e2e::sendKey(VK_RETURN));
    ASSERT_TRUE(e2e::waitUntil([&] { return !q.recorderLines().empty(); }, 10s));
    EXPECT_EQ(RecordedTargets(q), std::vector<std::wstring>{q.folder().file(L"temp\\guide.htm")});
    EXPECT_TRUE(e2e::pathExists(q.folder().file(L"temp\\guide.htm")));
    EXPECT_FALSE(e2e::pathExists(q.folder().file(L"temp\\manual.htm"))) << "only the document picked";
    Sleep(300);
    EXPECT_TRUE(IsWindow(v.window)) << "the viewer stays";
    EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
}

TEST(E2eToolbar, TwoHundredPercent) {
    e2e::PrefixDpi dpi(192);
    QuibexSession q;
    e2e::ScreenshotAtEnd shot;
    ViewerParts v = StartViewer(q, shot, L"links.zip");
    ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
    HWND tb = Toolbar(v.window);
    const RECT first = ButtonOnScreen(tb, 0);
    EXPECT_GE(first.bottom - first.top, 64) << "images of 64 pixels";
    ExpectLaidOut(v, TextBox(v, 0));
    RECT bar{}, status{};
    GetWindowRect(tb, &bar);
    GetWindowRect(v.status, &status);
    EXPECT_LE(bar.bottom, status.top);
    q.screenshot(L"toolbar-200");
    EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
}

}  // namespace
