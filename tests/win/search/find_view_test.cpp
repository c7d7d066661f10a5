// One text in a rich-edit box (finding as the viewer's boxes do) and in the
// large-text view: every search from the same place selects the same range
// in both, letters of every script folded alike (full-width Latin too), up
// to the same last hit, for characters in and outside code page 932.
#include <windows.h>

#include <richedit.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/box_find.h"
#include "search/find_in_view.h"
#include "test_folder.h"
#include "viewer/text_view/large_text_view.h"

namespace {

using quibex::FindTextInView;
using quibex::kSearchMatchCase;

const wchar_t kText[] =
    L"Quibex quibex QUIBEX qUIBEx\r"
    L"全角のＱＵＩＢＥＸとｑｕｉｂｅｘ\r"
    L"Σίσυφος の σ と ς\r"
    L"ſtop と STOP と stop\r"
    L"Ünïcödé ünïcödé\r"
    L"日本語のテキスト、テキスト。\r"
    L"한국어 와 한국어\r";

class WinFindView : public ::testing::Test {
protected:
    void SetUp() override {
        LoadLibraryW(L"Msftedit.dll");
        parent_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        rich_ = CreateWindowExW(0, MSFTEDIT_CLASS, L"", WS_CHILD | ES_MULTILINE | ES_READONLY, 0, 0, 400, 300, parent_,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(rich_);
        SETTEXTEX st{ST_DEFAULT, 1200};
        SendMessageW(rich_, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&st), reinterpret_cast<LPARAM>(kText));
        quibex::FindWithTextRules(rich_);  // as the viewer's boxes do
        // The same text as a file: UTF-16 with its mark, CR LF line ends.
        std::wstring file = L"\xFEFF";
        for (const wchar_t* p = kText; *p; ++p) file += *p == L'\r' ? std::wstring(L"\r\n") : std::wstring(1, *p);
        WriteBytes(folder_.file(L"text.txt"),
                   std::string(reinterpret_cast<const char*>(file.data()), file.size() * sizeof(wchar_t)));
        RECT r{0, 0, 400, 300};
        large_ = quibex::CreateLargeTextView(parent_, 2, r);
        ASSERT_TRUE(large_);
        ASSERT_TRUE(quibex::LoadLargeText(large_, folder_.file(L"text.txt"), true));
    }
    void TearDown() override { DestroyWindow(parent_); }

    static std::wstring Text(HWND box) {
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
        return text;
    }
    // Every hit from `from` on, one search after the other, until none.
    static std::vector<CHARRANGE> Hits(HWND box, const std::wstring& what, int flags, LONG from) {
        CHARRANGE start{from, from};
        SendMessageW(box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
        std::vector<CHARRANGE> hits;
        while (FindTextInView(box, what, flags) && hits.size() < 20) {
            CHARRANGE sel{};
            SendMessageW(box, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
            hits.push_back(sel);
        }
        CHARRANGE last{};
        SendMessageW(box, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&last));
        // Nothing more found: the last hit stays selected.
        if (!hits.empty()) {
            EXPECT_TRUE(last.cpMin == hits.back().cpMin && last.cpMax == hits.back().cpMax);
        }
        return hits;
    }

    TestFolder folder_{L"qxfind"};
    HWND parent_ = nullptr, rich_ = nullptr, large_ = nullptr;
};

TEST_F(WinFindView, RichEditAndLargeViewFindTheSame) {
    ASSERT_EQ(Text(rich_), Text(large_)) << "both hold the same text";
    struct Case {
        const wchar_t* what;
        int flags;
        LONG from;
        size_t hits;  // 0: as many as the system's case mapping gives, the same in both
    } cases[] = {
        {L"quibex", 0, 0, 4},
        {L"quibex", kSearchMatchCase, 0, 1},
        {L"QUIBEX", 0, 8, 2},  // from inside the second word
        {L"ｑｕｉｂｅｘ", 0, 0, 2},
        {L"ｑｕｉｂｅｘ", kSearchMatchCase, 0, 1},
        {L"σ", 0, 0, 0},
        {L"stop", 0, 0, 0},
        {L"ÜNÏCÖDÉ", 0, 0, 2},
        {L"テキスト", 0, 0, 2},
        {L"한국어", 0, 0, 2},
        {L"ない文字列", 0, 0, 0},
    };
    for (const Case& c : cases) {
        const std::vector<CHARRANGE> rich = Hits(rich_, c.what, c.flags, c.from);
        const std::vector<CHARRANGE> large = Hits(large_, c.what, c.flags, c.from);
        ASSERT_EQ(rich.size(), large.size()) << testing::PrintToString(std::wstring(c.what)) << " flags " << c.flags;
        for (size_t i = 0; i < rich.size(); ++i) {
            EXPECT_EQ(rich[i].cpMin, large[i].cpMin) << i;
            EXPECT_EQ(rich[i].cpMax, large[i].cpMax) << i;
        }
        if (c.hits) {
            EXPECT_EQ(rich.size(), c.hits) << testing::PrintToString(std::wstring(c.what));
        }
    }
}

TEST_F(WinFindView, SearchStartsAtTheEndOfTheSelection) {
    for (HWND box : {rich_, large_}) {
        // "Quibex quibex": with the first word selected, the second is next.
        CHARRANGE first{0, 6};
        SendMessageW(box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&first));
        ASSERT_TRUE(FindTextInView(box, L"quibex", 0));
        CHARRANGE sel{};
        SendMessageW(box, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
        EXPECT_EQ(sel.cpMin, 7);
        // The caret right before a word, nothing selected: that word.
        CHARRANGE caret{14, 14};
        SendMessageW(box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
        ASSERT_TRUE(FindTextInView(box, L"quibex", 0));
        SendMessageW(box, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
        EXPECT_EQ(sel.cpMin, 14);
        EXPECT_EQ(sel.cpMax, 20);
    }
}

}  // namespace
