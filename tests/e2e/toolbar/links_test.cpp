// Links from outside: read back by colour in a rich-edit text and in the
// large-text view, the pointer over one, clicks on a URL and on mail
// addresses running the recorded association with the exact target, and
// the question asked first when "HiperLinkConfirm" is 1.
#include <windows.h>

#include <gtest/gtest.h>

#include <e2e/gtest_support.h>

#include "toolbar_support.h"

namespace {

using namespace std::chrono_literals;

constexpr COLORREF kBlue = RGB(0, 0, 255), kGreen = RGB(0, 128, 0);
constexpr const wchar_t* kUrl = L"http://www.example.jp/quibex/index.html";

// The http and mailto schemes open the recorder of the session.
struct SchemesToRecorder {
    explicit SchemesToRecorder(QuibexSession& q)
        : recorder((q.folder().copyFrom({L"e2e_recorder.exe"}), q.folder().file(L"e2e_recorder.exe"))),
          http(L"http", recorder),
          mailto(L"mailto", recorder) {}
    std::wstring recorder;
    OpenCommandToRecorder http, mailto;
};

LONG Find(HWND box, const std::wstring& what) { return static_cast<LONG>(e2e::richEditText(box).find(what)); }

HCURSOR CursorNow() {
    CURSORINFO info{};
    info.cbSize = sizeof info;
    return GetCursorInfo(&info) ? info.hCursor : nullptr;
}

TEST(E2eLinks, ColouredAndOpenedWithTheirExactTargets) {
    QuibexSession q(IniWith({"Viewer.HiperLink=1000"}).c_str());
    SchemesToRecorder schemes(q);
    e2e::ScreenshotAtEnd shot;
    ViewerParts v = StartViewer(q, shot, L"links.zip");
    ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
    HWND box = TextBox(v, 0);
    ASSERT_EQ(e2e::tabItems(v.tabs).at(0), L"readme.txt");
    const LONG url = Find(box, kUrl), mail = Find(box, L"taro.yamada@"), prefixed = Find(box, L"mailto:hanako");
    ASSERT_GT(url, 0);
    ASSERT_GT(mail, 0);
    ASSERT_GT(prefixed, 0);
    EXPECT_EQ(CharColour(box, url), kBlue);
    EXPECT_EQ(CharColour(box, url + static_cast<LONG>(wcslen(kUrl)) - 1), kBlue);
    EXPECT_EQ(CharColour(box, url + static_cast<LONG>(wcslen(kUrl))), GetSysColor(COLOR_WINDOWTEXT))
        << "a space ends the URL";
    EXPECT_EQ(CharColour(box, mail), kGreen);
    EXPECT_EQ(CharColour(box, Find(box, L"co.jp") + 4), kGreen);
    EXPECT_EQ(CharColour(box, Find(box, L"co.jp") + 5), GetSysColor(COLOR_WINDOWTEXT)) << "the bracket ends it";
    EXPECT_EQ(CharColour(box, prefixed), kGreen);
    SendMessageW(box, EM_SETSEL, 0, 0);

    // The pointer changes over a link and back.
    ASSERT_TRUE(e2e::bringToFront(v.window));
    ASSERT_TRUE(e2e::moveMouseTo(CharacterOnScreen(box, 0)));
    q.process().waitForInputIdle();
    const HCURSOR plain = CursorNow();
    EXPECT_TRUE(HoverUntil(CharacterOnScreen(box, url + 5), [&] { return CursorNow() != plain; }))
        << "the link pointer";
    q.screenshot(L"link-under-pointer");

    ASSERT_TRUE(e2e::clickAt(CharacterOnScreen(box, url + 5)));
    ASSERT_TRUE(e2e::waitUntil([&] { return q.recorderLines().size() == 1; }, 10s));
    ASSERT_TRUE(e2e::clickAt(CharacterOnScreen(box, mail + 3)));
    ASSERT_TRUE(e2e::waitUntil([&] { return q.recorderLines().size() == 2; }, 10s));
    ASSERT_TRUE(e2e::clickAt(CharacterOnScreen(box, prefixed + 10)));
    ASSERT_TRUE(e2e::waitUntil([&] { return q.recorderLines().size() == 3; }, 10s));
    EXPECT_EQ(RecordedTargets(q),
              (std::vector<std::wstring>{kUrl, L"mailto:taro.yamada@example.co.jp", L"mailto:hanako@example.com"}));
    EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
}

TEST(E2eLinks, TheQuestionBeforeOpening) {
    QuibexSession q(IniWith({"Viewer.HiperLink=1", "Viewer.HiperLinkConfirm=1"}).c_str());
    SchemesToRecorder schemes(q);
    e2e::ScreenshotAtEnd shot;
    ViewerParts v = StartViewer(q, shot, L"links.zip");
    ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
    HWND box = TextBox(v, 0);
    // Two places on the link, far enough apart that the second click is no double click.
    const LONG url = Find(box, kUrl);
    for (const wchar_t* answer : {L"いいえ", L"はい"}) {
        ASSERT_TRUE(e2e::clickAt(CharacterOnScreen(box, url + (answer[0] == L'は' ? 30 : 8))));
        HWND question = nullptr;
        e2e::MessageBoxInfo m = q.waitMessage(&question);
        ASSERT_TRUE(question) << e2e::describeTopLevel(q.pid());
        EXPECT_EQ(m.text, L"選択されたURLまたはメールアドレスを開きますか？");
        EXPECT_EQ(m.caption, L"Quibex");
        EXPECT_EQ(m.icon, e2e::MessageIcon::Question);
        if (answer[0] == L'は') q.screenshot(L"link-question");
        ASSERT_TRUE(e2e::answerMessageBox(question, answer));
        ASSERT_TRUE(e2e::waitForWindowGone(question));
    }
    ASSERT_TRUE(e2e::waitUntil([&] { return !q.recorderLines().empty(); }, 10s));
    Sleep(300);
    EXPECT_EQ(RecordedTargets(q), std::vector<std::wstring>{kUrl}) << "only the one answered yes";
    EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
}

// A text over 512 KiB is shown by the large-text view: its links are
// coloured (read back through the rich-edit format message it answers) and
// open on a click, also one read well after the first screen.
TEST(E2eLinks, InTheLargeTextView) {
    QuibexSession q(IniWith({"Viewer.HiperLink=1000"}).c_str());
    SchemesToRecorder schemes(q);
    e2e::ScreenshotAtEnd shot;
    ViewerParts v = StartViewer(q, shot, L"largelinks.zip");
    ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
    HWND view = TextBox(v, 0);
    ASSERT_EQ(e2e::className(view), L"QuibexLargeText");
    // The deep address is in the part read from the message loop.
    LONG deep = -1;
    ASSERT_TRUE(e2e::waitUntil([&] { return (deep = Find(view, L"deep@example.jp")) > 0; }, 20s));
    const LONG url = Find(view, L"http://large.example.jp/far/away");
    EXPECT_EQ(CharColour(view, url), kBlue);
    EXPECT_EQ(CharColour(view, url - 1), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(CharColour(view, deep + 3), kGreen);
    SendMessageW(view, EM_SETSEL, 0, 0);
    ASSERT_TRUE(e2e::clickAt(CharacterOnScreen(view, url + 10)));
    ASSERT_TRUE(e2e::waitUntil([&] { return !q.recorderLines().empty(); }, 10s));
    EXPECT_EQ(RecordedTargets(q), std::vector<std::wstring>{L"http://large.example.jp/far/away"});
    q.screenshot(L"link-large-text");
    EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
}

}  // namespace
