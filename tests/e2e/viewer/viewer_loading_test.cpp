// When each tab's text is loaded, that a tab keeps its caret, and that every
// encoding the viewer reads comes out as the same Unicode text.
#include <gtest/gtest.h>

#include <e2e/gtest_support.h>

#include <richedit.h>

#include "viewer_support.h"

namespace {

using namespace std::chrono_literals;

// What six.zip's text with this name says (the data script writes it so).
std::wstring SixText(const std::wstring& name) { return L"これは " + name + L" です。\n二行目です。\n"; }

void SendSel(HWND box, DWORD from, DWORD to) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(box, EM_SETSEL, from, to, SMTO_ABORTIFHUNG, 5000, &ignored);
}

TEST(E2eViewerLoading, LazyTabIsFilledWhenClickedAndKeepsItsCaret) {
    QuibexSession q(IniWith({"Option.OpenMax=5", "Viewer.TextLoadMode=1"}).c_str());
    e2e::ScreenshotAtEnd shot;
    ViewerParts v = StartViewer(q, shot, L"six.zip");
    ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
    const std::vector<std::wstring> captions = e2e::tabItems(v.tabs);
    ASSERT_EQ(captions.size(), 5u);
    EXPECT_EQ(e2e::richEditText(TextBox(v, 0)), SixText(captions[0])) << "the first tab is loaded at once";
    for (int i = 1; i < 5; ++i) {
        ASSERT_TRUE(TextBox(v, i)) << "every tab has its box";
        EXPECT_EQ(e2e::richEditText(TextBox(v, i)), L"") << "tab " << i << " waits until it is chosen";
    }

    HWND box3 = TextBox(v, 3);
    ASSERT_TRUE(e2e::selectTab(v.tabs, 3));
    ASSERT_TRUE(e2e::waitUntil([&] { return e2e::tabSelection(v.tabs) == 3; }, 10s));
    EXPECT_TRUE(e2e::waitUntil([&] { return e2e::richEditText(box3) == SixText(captions[3]); }, 10s))
        << e2e::toUtf8(e2e::richEditText(box3));
    EXPECT_TRUE(IsWindowVisible(box3));
    EXPECT_FALSE(IsWindowVisible(TextBox(v, 0)));
    for (int i : {1, 2, 4}) EXPECT_EQ(e2e::richEditText(TextBox(v, i)), L"") << "tab " << i << " is still unread";

    SendSel(box3, 5, 5);
    ASSERT_EQ(Selection(box3), (std::pair<DWORD, DWORD>{5, 5}));
    ASSERT_TRUE(e2e::selectTab(v.tabs, 0));
    ASSERT_TRUE(e2e::waitUntil([&] { return e2e::tabSelection(v.tabs) == 0 && IsWindowVisible(TextBox(v, 0)); }, 10s));
    ASSERT_TRUE(e2e::selectTab(v.tabs, 3));
    ASSERT_TRUE(e2e::waitUntil([&] { return e2e::tabSelection(v.tabs) == 3 && IsWindowVisible(box3); }, 10s));
    EXPECT_EQ(Selection(box3), (std::pair<DWORD, DWORD>{5, 5})) << "switching away and back keeps the caret";
    EXPECT_EQ(e2e::richEditText(box3), SixText(captions[3])) << "and the text is not loaded twice";
    EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
}

TEST(E2eViewerLoading, EagerModeFillsEveryTabBeforeTheViewerIsReady) {
    QuibexSession q(IniWith({"Option.OpenMax=5", "Viewer.TextLoadMode=0"}).c_str());
    e2e::ScreenshotAtEnd shot;
    ViewerParts v = StartViewer(q, shot, L"six.zip");
    ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
    const std::vector<std::wstring> captions = e2e::tabItems(v.tabs);
    ASSERT_EQ(captions.size(), 5u);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(e2e::richEditText(TextBox(v, i)), SixText(captions[static_cast<size_t>(i)])) << "tab " << i;
    EXPECT_EQ(e2e::tabSelection(v.tabs), 0);
    EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
}

TEST(E2eViewerLoading, EveryEncodingReadsAsTheSameJapanese) {
    const std::wstring expected =
        L"日本語のテキストです。\n漢字とひらがなとカタカナ：ファイル、書庫、表示。\n全角の英数字ＡＢＣ１２３と半角の ABC 123。\n";
    QuibexSession q(IniWith({"Option.OpenMax=10", "Viewer.TextLoadMode=0"}).c_str());
    e2e::ScreenshotAtEnd shot;
    ViewerParts v = StartViewer(q, shot, L"encodings.zip");
    ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
    const std::vector<std::wstring> captions = e2e::tabItems(v.tabs);
    EXPECT_EQ(std::set<std::wstring>(captions.begin(), captions.end()),
              (std::set<std::wstring>{L"sjis.txt", L"utf8bom.txt", L"utf8.txt", L"utf16le.txt", L"utf16be.txt",
                                      L"eucjp.txt", L"jis.txt"}));
    for (size_t i = 0; i < captions.size(); ++i)
        EXPECT_EQ(e2e::richEditText(TextBox(v, static_cast<int>(i))), expected) << e2e::toUtf8(captions[i]);
    EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
}

}  // namespace
