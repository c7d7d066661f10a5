// The text finder of the large-text view: table cases for the rules, and a
// comparison with a plain position-by-position search on random texts, which
// catches a scan that skips or misreads units at block edges.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "search/text_find.h"

namespace {

using quibex::kNotFound;
using quibex::TextFinder;
using quibex::UpperTable;

// ASCII and full-width Latin letters, Greek sigma in its three forms, and the
// long s (whose upper case is "S", so "s" has three forms).
const UpperTable& TestUpper() {
    static const UpperTable table = [] {
        UpperTable t(65536);
        for (size_t c = 0; c < t.size(); ++c) t[c] = static_cast<wchar_t>(c);
        for (wchar_t c = L'a'; c <= L'z'; ++c) t[c] = static_cast<wchar_t>(c - L'a' + L'A');
        for (wchar_t c = L'ａ'; c <= L'ｚ'; ++c) t[c] = static_cast<wchar_t>(c - L'ａ' + L'Ａ');
        t[L'σ'] = L'Σ';
        t[L'ς'] = L'Σ';
        t[L'ſ'] = L'S';
        return t;
    }();
    return table;
}

size_t Down(std::wstring_view text, std::wstring_view what, size_t from, bool matchCase = false,
            bool wholeWord = false, size_t to = std::wstring::npos) {
    TextFinder finder(what, matchCase, wholeWord, TestUpper());
    return finder.FindDown(text.data(), text.size(), from, to == std::wstring::npos ? text.size() : to);
}

TEST(TextFind, RulesOfTheRichEditBoxes) {
    struct Case {
        const char* what;
        std::wstring_view text, pattern;
        size_t from;
        bool matchCase, wholeWord;
        size_t expected;
    } cases[] = {
        {"lower case finds capitals", L"see QUIBEX here", L"quibex", 0, false, false, 4},
        {"not with match case", L"see QUIBEX here", L"quibex", 0, true, false, kNotFound},
        {"match case finds the exact form", L"Quibex quibex", L"quibex", 0, true, false, 7},
        {"starts at the given position", L"ab ab ab", L"ab", 1, false, false, 3},
        {"a match at the start position", L"ab ab ab", L"ab", 3, false, false, 3},
        {"no wrap to the start", L"ab ab", L"ab", 4, false, false, kNotFound},
        {"full-width letters fold", L"全角のＡＢＣです", L"ａｂｃ", 0, false, false, 3},
        {"three forms of the first character", L"xxſtop", L"STOP", 0, false, false, 2},
        {"sigma in every form", L"ΑΣς σ", L"σ", 2, false, false, 2},
        {"Japanese text", L"書庫の中のテキストを表示", L"テキスト", 0, false, false, 5},
        {"whole word skips a part of a word", L"cat concat cat", L"cat", 1, false, true, 11},
        {"whole word: Japanese neighbours do not count", L"猫cat猫", L"cat", 0, false, true, 1},
        {"longer than the text", L"ab", L"abc", 0, false, false, kNotFound},
        {"empty string finds nothing", L"abc", L"", 0, false, false, kNotFound},
        {"start past the end", L"abc", L"a", 5, false, false, kNotFound},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Down(c.text, c.pattern, c.from, c.matchCase, c.wholeWord), c.expected) << c.what;
    // A match must lie wholly inside the range.
    EXPECT_EQ(Down(L"xx abc", L"abc", 0, false, false, 5), kNotFound);
    EXPECT_EQ(Down(L"xx abc", L"abc", 0, false, false, 6), 3u);
}

TEST(TextFind, UpwardFindsTheLastMatchBeforeThePosition) {
    TextFinder finder(L"ab", false, false, TestUpper());
    const std::wstring text = L"ab AB ab";
    EXPECT_EQ(finder.FindUp(text.data(), text.size(), text.size(), 0), 6u);
    EXPECT_EQ(finder.FindUp(text.data(), text.size(), 7, 0), 3u);  // ends at or before the position
    EXPECT_EQ(finder.FindUp(text.data(), text.size(), 5, 4), kNotFound);
    EXPECT_EQ(finder.FindUp(text.data(), text.size(), 1, 0), kNotFound);
}

// The reference: every position in turn, each character through the table.
size_t Plain(const std::wstring& text, const std::wstring& what, size_t from, size_t to, bool matchCase) {
    const UpperTable& up = TestUpper();
    for (size_t at = from; what.size() <= to && at + what.size() <= to; ++at) {
        size_t k = 0;
        while (k < what.size() && (matchCase ? text[at + k] == what[k] : up[text[at + k]] == up[what[k]])) ++k;
        if (k == what.size()) return at;
    }
    return kNotFound;
}

TEST(TextFind, AgreesWithAPlainSearchOnRandomTexts) {
    std::mt19937 random(20261208);
    const std::wstring alphabet = L"aAbBſsS σΣ日本";
    auto pick = [&](size_t n) {
        std::wstring s;
        for (size_t i = 0; i < n; ++i) s += alphabet[random() % alphabet.size()];
        return s;
    };
    for (int round = 0; round < 4000; ++round) {
        const std::wstring text = pick(random() % 40);
        const std::wstring what = pick(1 + random() % 3);
        const size_t from = text.empty() ? 0 : random() % (text.size() + 1);
        const size_t to = from + (text.size() > from ? random() % (text.size() - from + 1) : 0);
        const bool matchCase = random() % 2;
        TextFinder finder(what, matchCase, false, TestUpper());
        ASSERT_EQ(finder.FindDown(text.data(), text.size(), from, to), Plain(text, what, from, to, matchCase))
            << "round " << round;
    }
}

}  // namespace
