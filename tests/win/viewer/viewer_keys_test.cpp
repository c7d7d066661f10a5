// The viewer's key table: moving between texts, the digits of "ShortCutKey"
// that switch rows off, keys reaching it from the text boxes and the tab
// strip, opening the archive with its close rule, and always-on-top.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include "core/app_state.h"
#include "viewer/viewer_control.h"
#include "viewer/viewer_window.h"
#include "next_box.h"
#include "viewer_fixture.h"

using namespace quibex;

namespace {

class ViewerKeys : public ViewerTest {
protected:
    // The tab a key leads to from `from`, and whether the table took it.
    static std::pair<int, bool> Press(int from, UINT key, int modifiers) {
        SelectTab(from);
        bool taken = HandleViewerKey(key, modifiers);
        return {SelectedTabIndex(), taken};
    }
};

TEST_F(ViewerKeys, MovingBetweenThreeTexts) {
    AppSettings().ShortCutKey = L"111111111";
    OpenTexts(3);
    struct Case {
        int from;
        UINT key;
        int modifiers;
        int to;
        bool taken;
    } cases[] = {
        {2, VK_RETURN, 0, 0, true},                     // Enter after the last text: the first
        {0, VK_RETURN, kKeyShift, 2, true},
        {0, VK_BACK, 0, 2, true},                       // Backspace on the first: the last
        {2, VK_BACK, kKeyShift, 0, true},
        {1, VK_TAB, kKeyCtrl, 2, true},
        {0, VK_TAB, kKeyCtrl | kKeyShift, 2, true},
        {0, VK_LEFT, kKeyAlt, 2, true},
        {2, VK_RIGHT, kKeyAlt, 0, true},
        {0, '2', kKeyAlt, 2, true},                     // tab "[2] "
        {2, VK_NUMPAD1, kKeyAlt, 1, true},
        {1, '5', kKeyAlt, 1, true},                     // no fifth text: nothing
        {1, '1', kKeyAlt, 1, true},                     // already selected
        {0, VK_RETURN, kKeyCtrl | kKeyShift, 0, false},  // other combinations are not the table's
        {0, VK_TAB, kKeyAlt | kKeyShift, 0, false},
        {0, VK_SPACE, kKeyCtrl | kKeyAlt, 0, false},
        {0, VK_RIGHT, 0, 0, false},
        {0, '2', kKeyAlt | kKeyCtrl, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.from << " key " << c.key << " modifiers " << c.modifiers);
        auto [to, taken] = Press(c.from, c.key, c.modifiers);
        EXPECT_EQ(to, c.to);
        EXPECT_EQ(taken, c.taken);
    }
}

TEST_F(ViewerKeys, OneTextStaysAndDigitsSwitchRowsOff) {
    OpenTexts(1);
    for (auto [key, modifiers] : {std::pair<UINT, int>{VK_RETURN, 0}, {VK_BACK, 0}, {VK_LEFT, kKeyAlt},
                                  {VK_TAB, kKeyCtrl}, {VK_TAB, kKeyCtrl | kKeyShift}}) {
        EXPECT_EQ(Press(0, key, modifiers).first, 0);
    }
    CloseAndWait();
    OpenTexts(3);
    // The default "111110111": Alt+digits are off, the rest on.
    EXPECT_EQ(Press(0, '2', kKeyAlt), std::make_pair(0, false));
    EXPECT_EQ(Press(0, VK_RETURN, 0), std::make_pair(1, true));
    // Every digit "0": no movement row and no Esc; Space pages all the same.
    AppSettings().ShortCutKey = L"000000000";
    for (auto [key, modifiers] : {std::pair<UINT, int>{VK_RETURN, 0}, {VK_BACK, 0}, {VK_RIGHT, kKeyAlt},
                                  {VK_TAB, kKeyCtrl}, {'2', kKeyAlt}, {VK_ESCAPE, 0}}) {
        EXPECT_EQ(Press(1, key, modifiers), std::make_pair(1, false)) << key;
    }
    Pump(50);
    EXPECT_NE(ViewerWindow(), nullptr) << "Esc with the fifth digit 0 does not close";
    EXPECT_TRUE(HandleViewerKey(VK_SPACE, 0));
}

TEST_F(ViewerKeys, TextAndPrintNeedAText) {
    documents = {DocumentEntry{L"manual.htm", L"\\"}};
    Open({});
    ASSERT_LT(LastTabIndex(), 0);
    EXPECT_FALSE(HandleViewerKey('T', kKeyCtrl));
    EXPECT_FALSE(HandleViewerKey('P', kKeyCtrl));
}

TEST_F(ViewerKeys, KeysReachTheTableFromTheBoxesAndTheTabStrip) {
    std::string lines;
    for (int i = 0; i < 300; ++i) lines += "line " + std::to_string(i) + "\r\n";
    AddText(L"a.txt", lines);
    AddText(L"b.txt", "b\r\n");
    Open({L"a.txt", L"b.txt"});
    HWND a = ViewerTextBox(0);
    SetFocus(a);
    // Space pages the text and never reaches the box.
    EXPECT_EQ(SendMessageW(a, WM_KEYDOWN, VK_SPACE, 0), 0);
    EXPECT_GT(SendMessageW(a, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    // Enter in a box: the next text, and its box gets the focus.
    SendMessageW(a, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(SelectedTabIndex(), 1);
    EXPECT_EQ(GetFocus(), ViewerTextBox(1));
    // Enter on the tab strip: the next text, the focus stays on the strip.
    SetFocus(ViewerTabStrip());
    SendMessageW(ViewerTabStrip(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(SelectedTabIndex(), 0);
    EXPECT_EQ(GetFocus(), ViewerTabStrip());
    // Esc in a box closes, through Dummy, and empties the work folder.
    SetFocus(a);
    SendMessageW(a, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_NE(ViewerWindow(), nullptr) << "never closed inside the box's own key event";
    ASSERT_TRUE(PumpUntil([] { return ViewerWindow() == nullptr; }));
    EXPECT_EQ(GetFileAttributesW((work + L"a.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

// A self-extracting archive without an archiver tool: the message, then
// the close rule, Shift inverting "ExitAfterOpen".
TEST_F(ViewerKeys, OpeningTheArchiveClosesByExitAfterOpenAndShift) {
    struct Case {
        int exitAfterOpen;
        int modifiers;
        bool closes;
    } cases[] = {{0, kKeyCtrl, false}, {0, kKeyCtrl | kKeyShift, true}, {1, kKeyCtrl, true},
                 {1, kKeyCtrl | kKeyShift, false}};
    archive.selfExtracting = true;
    archive.extension = L"EXE";
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "ExitAfterOpen " << c.exitAfterOpen << " modifiers " << c.modifiers);
        if (!ViewerWindow()) OpenTexts(1);
        AppSettings().ExitAfterOpen = static_cast<int16_t>(c.exitAfterOpen);
        NextBox box(IDOK, c.closes ? L"viewer-sfx-open-message" : L"");
        EXPECT_TRUE(HandleViewerKey('O', c.modifiers));
        EXPECT_EQ(box.Text(), L"自己解凍書庫を関連付けで開くことはできません。\r\nアーカイバツールを登録してください。");
        EXPECT_EQ(PumpUntil([] { return ViewerWindow() == nullptr; }, 300), c.closes);
    }
}

// Only the question and the setting are checked: Wine does not make a
// window topmost while it owns tooltips (it keeps it below them).
TEST_F(ViewerKeys, AltAAsksThenSwitchesAlwaysOnTop) {
    OpenTexts(1);
    HWND w = ViewerWindow();
    struct Step {
        int answer;
        const wchar_t* question;
        bool after;
    } steps[] = {{IDNO, L"ウィンドウを常に手前にしますか？", false},
                 {IDYES, L"ウィンドウを常に手前にしますか？", true},
                 {IDNO, L"ウィンドウを常に手前を解除しますか？", true},
                 {IDYES, L"ウィンドウを常に手前を解除しますか？", false}};
    for (const Step& s : steps) {
        NextBox box(s.answer, s.after ? L"viewer-topmost-question-off" : L"viewer-topmost-question-on");
        EXPECT_TRUE(HandleViewerKey('A', kKeyAlt));
        EXPECT_EQ(box.Text(), s.question);
        EXPECT_EQ(AppSettings().TopMost, s.after ? 1 : 0);
        EXPECT_TRUE(IsWindowVisible(w));
    }
    EXPECT_EQ(Ini(L"Viewer", L"TopMost"), L"(none)") << "the INI file changes only with the other settings";
}

}  // namespace
