// The two text views through their one interface: a text of ordinary size
// stays in its rich-edit box, a larger one gets a large-text view in the
// box's place, and either way the caller sees the same text, the same links
// and the same end of loading, stepped by the view itself.
#include <windows.h>

#include <richedit.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "test_folder.h"
#include "viewer/text_view/large_text_view.h"
#include "viewer/text_view/text_view.h"

namespace {

using quibex::TextView;

struct Case {
    const char* name;
    size_t fillerLines;  // lines after the links, to reach the size wanted
    bool large;
};

class WinTextView : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        LoadLibraryW(L"Msftedit.dll");
        parent_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(parent_);
    }
    void TearDown() override { DestroyWindow(parent_); }
    static void PumpWhile(const TextView& view) {
        for (DWORD start = GetTickCount(); view.Pending() && GetTickCount() - start < 20000;) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            Sleep(1);
        }
    }
    HWND parent_ = nullptr;
    TestFolder folder_{L"qxtextview"};
};

TEST_P(WinTextView, LoadsMarksAndEndsTheSameWhicheverBoxHoldsTheText) {
    const Case& c = GetParam();
    std::string text = "see http://example.com/a and mail me@example.jp\r\n";
    for (size_t i = 0; i < c.fillerLines; ++i) text += "filler line of the text, nothing to mark here\r\n";
    text += "the end: https://example.org/z\r\n";
    const std::wstring path = folder_.file(L"t.txt");
    WriteBytes(path, text);

    std::unique_ptr<TextView> view = quibex::MakeRichTextView(parent_, 7);
    ASSERT_TRUE(view);
    const HWND richBox = view->Box();
    EXPECT_EQ(quibex::FitViewToText(view, text.size()), c.large);
    EXPECT_EQ(quibex::IsLargeTextView(view->Box()), c.large);
    EXPECT_EQ(IsWindow(richBox) != FALSE, !c.large);  // a replaced box is gone
    EXPECT_EQ(GetDlgCtrlID(view->Box()), 7);

    view->MarkLinks(1 << 30);
    ASSERT_TRUE(view->Load(path, false));
    EXPECT_TRUE(view->Pending()) << "the first part shows before the rest is read";
    PumpWhile(*view);
    ASSERT_FALSE(view->Pending());
    EXPECT_FALSE(view->ContinueLoading());

    const quibex::LinkTable* links = view->Links();
    ASSERT_TRUE(links);
    ASSERT_EQ(links->Count(), 3u);
    EXPECT_EQ(view->TextBetween((*links)[0].start, (*links)[0].end), L"http://example.com/a");
    EXPECT_TRUE((*links)[1].mail);
    EXPECT_EQ(view->TextBetween((*links)[2].start, (*links)[2].end), L"https://example.org/z");
    CHARRANGE caret{};
    SendMessageW(view->Box(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    EXPECT_EQ(caret.cpMin, 0);
    EXPECT_EQ(caret.cpMax, 0);
}

// 48 bytes a filler line: about 200 KiB stays in the rich-edit box (more than
// its first page), about 1 MiB goes to the large-text view.
INSTANTIATE_TEST_SUITE_P(Sizes, WinTextView,
                         ::testing::Values(Case{"RichEdit", 4000, false}, Case{"Large", 22000, true}),
                         [](const ::testing::TestParamInfo<Case>& p) { return std::string(p.param.name); });

}  // namespace
