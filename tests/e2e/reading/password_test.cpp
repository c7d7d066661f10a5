// An archive whose readme is encrypted: the ZIP library asks for the
// password over the please-wait window; a wrong password is asked again, the
// right one shows the readme, Cancel leaves no text.
#include <gtest/gtest.h>

#include <e2e/gtest_support.h>

#include <algorithm>

#include "reading_support.h"

namespace {

const std::wstring kCaption = L"パスワードの入力";
constexpr int kWrongLineId = 1002, kEditId = 1003;

// The library's next password question, once the one before it has gone.
HWND WaitQuestion(QuibexSession& q, HWND previous = nullptr) {
    if (previous && !e2e::waitUntil([&] { return !IsWindow(previous); })) return nullptr;
    return q.waitWindow(kCaption, L"#32770");
}

bool Answer(HWND question, const std::wstring& password) {
    return e2e::setWindowText(e2e::childById(question, kEditId), password) && e2e::pressButton(question, L"OK");
}

// Z order of the process's windows: true when `upper` is above `lower`.
bool Above(QuibexSession& q, HWND upper, HWND lower) {
    std::vector<HWND> order = e2e::topLevelWindows(q.pid());
    auto u = std::find(order.begin(), order.end(), upper), l = std::find(order.begin(), order.end(), lower);
    return u != order.end() && l != order.end() && u < l;
}

TEST(E2ePassword, WrongThenRightPasswordShowsTheReadme) {
    e2e::ScreenshotAtEnd atEnd;
    QuibexSession q;  // "InitDialog" 1: the please-wait window is up while the library works
    ASSERT_TRUE(q.start(ReadingArchive(L"secret.zip")));
    atEnd.setProcess(q.pid());
    HWND first = WaitQuestion(q);
    ASSERT_TRUE(first);
    HWND pleaseWait = q.waitWindow(L"Quibex", L"#32770");
    ASSERT_TRUE(pleaseWait);
    EXPECT_TRUE(Above(q, first, pleaseWait)) << e2e::describeTopLevel(q.pid());
    EXPECT_EQ(GetForegroundWindow(), first);
    EXPECT_EQ(e2e::windowText(e2e::childById(first, 1001)),
              L"「readme.txt」はパスワードで保護されています。\r\nパスワードを入力してください。");
    EXPECT_FALSE(IsWindowVisible(e2e::childById(first, kWrongLineId)));
    // Both centre on the screen and the question is the larger: moved aside
    // from the middle of the please-wait window, it shows what it covers.
    RECT waitBox{};
    GetWindowRect(pleaseWait, &waitBox);
    SetWindowPos(first, nullptr, (waitBox.left + waitBox.right) / 2, (waitBox.top + waitBox.bottom) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    q.screenshot(L"password-dialog-over-please-wait");
    EXPECT_TRUE(Above(q, first, pleaseWait)) << "moving it keeps it in front";

    ASSERT_TRUE(Answer(first, L"wrong"));
    HWND second = WaitQuestion(q, first);
    ASSERT_TRUE(second) << "a wrong password is asked again";
    EXPECT_TRUE(IsWindowVisible(e2e::childById(second, kWrongLineId)));
    EXPECT_EQ(e2e::windowText(e2e::childById(second, kWrongLineId)),
              L"パスワードが違います。もう一度入力してください。");
    ASSERT_TRUE(Answer(second, L"secret"));

    HWND viewer = WaitViewer(q);
    ASSERT_TRUE(viewer);
    // The text box is filled after the viewer shows.
    std::wstring shown;
    EXPECT_TRUE(e2e::waitUntil([&] {
        HWND box = e2e::childById(viewer, 1000);
        shown = box ? e2e::richEditText(box) : L"";
        return shown.find(L"これは readme です。") != std::wstring::npos;
    })) << e2e::toUtf8(shown);
    EXPECT_EQ(FilesIn(q.folder().file(L"temp")), std::set<std::wstring>{L"readme.txt"});
    e2e::closeWindow(viewer);
    EXPECT_TRUE(q.process().waitForExit().has_value());
}

TEST(E2ePassword, CancelGivesTheNoTextReaction) {
    e2e::ScreenshotAtEnd atEnd;
    QuibexSession q(IniWith({"Option.NoText=2"}).c_str());
    ASSERT_TRUE(q.start(ReadingArchive(L"secret.zip")));
    atEnd.setProcess(q.pid());
    HWND question = WaitQuestion(q);
    ASSERT_TRUE(question);
    ASSERT_TRUE(e2e::pressButton(question, L"キャンセル"));
    HWND box = nullptr;
    e2e::MessageBoxInfo m = q.waitMessage(&box);
    ASSERT_TRUE(box) << "no library error: the skipped member is one without text";
    EXPECT_EQ(m.text,
              L"このZIP形式書庫には指定された条件に合うドキュメントがみつかりません。\r\n"
              L"アーカイバツールで確認してください。");
    EXPECT_TRUE(FilesIn(q.folder().file(L"temp")).empty());
    e2e::answerMessageBox(box, L"OK");
    EXPECT_TRUE(q.process().waitForExit().has_value());
}

}  // namespace
