// What's This help and tooltips of the main options window, from outside:
// the popup's text read back after a right click or the "?" button, and the
// two-line tooltip of the beep box.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "options_support.h"

namespace {

using namespace std::chrono_literals;

class E2eOptionsHelp : public OptionsScenario {};

POINT Centre(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

// Right-clicks a control and returns the popup that shows (nullptr: none).
HWND RightClickHelp(DWORD processId, HWND control) {
    e2e::rightClickAt(Centre(control));
    return WaitHelpPopup(processId);
}

void Dismiss(HWND popup) {
    e2e::sendKey(VK_ESCAPE);
    e2e::waitForWindowGone(popup, 5s);
}

TEST_F(E2eOptionsHelp, RightClickOnALabelCheckBoxOrGreyedLabelShowsItsTopic) {
    ASSERT_TRUE(Start()) << e2e::describeTopLevel(q().pid());
    ASSERT_TRUE(e2e::bringToFront(w));

    HWND label = Item(w, IDC_OPTIONS_LBLAPL);
    HWND popup = RightClickHelp(q().pid(), label);
    ASSERT_TRUE(popup) << "no help popup after a right click on the archiver tool's label";
    const std::wstring text = e2e::windowText(popup);
    EXPECT_TRUE(text.starts_with(L"書庫そのものを開くときに使うプログラム")) << e2e::toUtf8(text);
    EXPECT_TRUE(Contains(text, L"初期設定: 空欄"));
    RECT p{}, l{};
    GetWindowRect(popup, &p);
    GetWindowRect(label, &l);
    EXPECT_TRUE(p.top >= l.bottom || p.bottom <= l.top) << "beside the label, not over it";
    EXPECT_TRUE(p.left < l.right && p.right > l.left) << "under or over the label";
    q().screenshot(L"options-help-popup");
    Dismiss(popup);
    EXPECT_FALSE(IsWindowVisible(popup));
    EXPECT_TRUE(IsWindowVisible(w)) << "Esc closed the popup only";

    popup = RightClickHelp(q().pid(), Item(w, IDC_OPTIONS_CHKBEEP));
    ASSERT_TRUE(popup);
    EXPECT_TRUE(Contains(e2e::windowText(popup), L"500 Hz"));
    Dismiss(popup);

    // A greyed label still explains itself.
    e2e::pressButtonById(w, IDC_OPTIONS_CHKVIEWER);
    ASSERT_TRUE(e2e::waitUntil([&] { return !Enabled(w, IDC_OPTIONS_LBLDOCTYPE); }, 5s));
    popup = RightClickHelp(q().pid(), Item(w, IDC_OPTIONS_LBLDOCTYPE));
    ASSERT_TRUE(popup);
    EXPECT_TRUE(Contains(e2e::windowText(popup), L"初期設定: HLP DOC HTM HTML CHM"));
    Dismiss(popup);

    // A text box keeps its own menu.
    e2e::rightClickAt(Centre(Item(w, IDC_OPTIONS_TXTAPLPATH)));
    HWND menu = e2e::waitForWindow(e2e::WindowQuery().withClass(L"#32768").inProcess(q().pid()), 5s);
    EXPECT_TRUE(menu) << "the text box's own menu";
    EXPECT_FALSE(e2e::waitForWindow(e2e::WindowQuery().withClass(L"QuibexHelpPopup").inProcess(q().pid()), 500ms));
    e2e::sendKey(VK_ESCAPE);
    if (menu) e2e::waitForWindowGone(menu, 5s);
    CloseAndExpectExit();
}

TEST_F(E2eOptionsHelp, QuestionMarkButtonThenAClickExplainsAnyControl) {
    ASSERT_TRUE(Start()) << e2e::describeTopLevel(q().pid());
    ASSERT_TRUE(e2e::bringToFront(w));
    EXPECT_TRUE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_CONTEXTHELP) << "the title bar has the ? button";

    // The "?" button sends this command; the next click names the control.
    PostMessageW(w, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
    Sleep(300);  // the command is posted; the click must come after it
    ASSERT_TRUE(Click(w, IDC_OPTIONS_TXTOPENMAX));
    HWND popup = WaitHelpPopup(q().pid());
    ASSERT_TRUE(popup);
    EXPECT_TRUE(Contains(e2e::windowText(popup), L"（1～10）")) << e2e::toUtf8(e2e::windowText(popup));
    q().screenshot(L"options-help-question-mark");
    Dismiss(popup);

    // A control without a topic says so.
    PostMessageW(w, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
    Sleep(300);
    ASSERT_TRUE(Click(w, IDC_OPTIONS_BTNBR0));
    popup = WaitHelpPopup(q().pid());
    ASSERT_TRUE(popup);
    EXPECT_EQ(e2e::windowText(popup), L"この項目にはヘルプがありません。");
    Dismiss(popup);
    EXPECT_FALSE(e2e::waitForMessageBox(q().pid(), 500ms)) << "the click named the button; it did not press it";

    // Esc leaves the "?" pointer without closing the window; the next click is a click again.
    PostMessageW(w, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
    Sleep(300);
    e2e::sendKey(VK_ESCAPE);
    Sleep(300);
    EXPECT_TRUE(IsWindowVisible(w));
    ASSERT_TRUE(Click(w, IDC_OPTIONS_CHKPROGRESS));
    EXPECT_TRUE(e2e::waitUntil([&] { return e2e::checkState(Item(w, IDC_OPTIONS_CHKPROGRESS)) == BST_CHECKED; }, 5s));
    EXPECT_FALSE(e2e::waitForWindow(e2e::WindowQuery().withClass(L"QuibexHelpPopup").inProcess(q().pid()), 300ms));
    CloseAndExpectExit();
}

TEST_F(E2eOptionsHelp, BeepBoxHasATwoLineTooltip) {
    ASSERT_TRUE(Start()) << e2e::describeTopLevel(q().pid());
    ASSERT_TRUE(e2e::bringToFront(w));
    HWND beep = Item(w, IDC_OPTIONS_CHKBEEP);
    RECT r{};
    GetWindowRect(beep, &r);
    HWND tip = HoverForTooltip(q().pid(), beep, L"OSの種類、及びハードウェアの\r\n構成に依存します");
    ASSERT_TRUE(tip) << "no tooltip shows the beep box's text";
    RECT t{};
    GetWindowRect(tip, &t);
    // A one-line tip is about as tall as the box; two lines are clearly more.
    EXPECT_GT(t.bottom - t.top, (r.bottom - r.top) * 3 / 2) << "two lines";
    EXPECT_LE(t.right - t.left, 200 + 20) << "at most 200 pixels of text";
    q().screenshot(L"options-tooltip");
    CloseAndExpectExit();
}

}  // namespace
