// Row layout of the large-text view: where rows wrap, tab stops, hit tests,
// line-break normalisation, and laying out a growing text piece by piece.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "viewer/text_view/text_layout.h"

using namespace quibex;

namespace {

// A fixed-pitch font: half-width characters 8 pixels, the rest 16, tab
// stops every 32.
class FixedWidths final : public GlyphWidths {
public:
    FixedWidths() { SetTabWidth(32); }

protected:
    void FillBlock(unsigned block, int32_t* out) override {
        for (unsigned i = 0; i < kBlockChars; ++i) {
            unsigned c = (block << kBlockShift) + i;
            out[i] = c < 0x1100 || (c >= 0xFF61 && c <= 0xFF9F) ? 8 : (c >= 0xDC00 && c <= 0xDFFF ? 0 : 16);
        }
    }
};

std::vector<std::wstring> Rows(const std::wstring& text, int width) {
    FixedWidths widths;
    TextRows rows;
    rows.Reset(width);
    while (rows.Extend(widths, text.data(), text.size(), true, 1000)) {
    }
    std::vector<std::wstring> out;
    for (size_t r = 0; r < rows.Count(); ++r)
        out.push_back(text.substr(rows.Start(r), rows.End(r, text.size()) - rows.Start(r)));
    return out;
}

using RowList = std::vector<std::wstring>;

// Surrogate pairs are spelled as two UTF-16 units, as Windows keeps them,
// whatever the width of wchar_t where the tests run.

}  // namespace

TEST(TextLayout, WrapsWhereARowMayBreak) {
    struct Case {
        const wchar_t* what;
        std::wstring text;
        int width;
        RowList rows;
    };
    const Case cases[] = {
        {L"line breaks end rows", L"ab\rcd", 800, {L"ab\r", L"cd"}},
        {L"a final break leaves an empty row", L"ab\r", 800, {L"ab\r", L""}},
        {L"empty text is one empty row", L"", 800, {L""}},
        {L"English breaks after the last space; one space hangs", L"hello world foo", 88, {L"hello world ", L"foo"}},
        {L"a word longer than the row breaks where it must", L"abcdefghij", 32, {L"abcd", L"efgh", L"ij"}},
        {L"Japanese breaks between any two characters", L"あいうえお", 48, {L"あいう", L"えお"}},
        {L"closing punctuation never starts a row", L"あい。う", 32, {L"あ", L"い。", L"う"}},
        {L"small kana never starts a row", L"あきっと", 32, {L"あ", L"きっ", L"と"}},
        {L"an opening bracket never ends a row", L"あ「い", 32, {L"あ", L"「い"}},
        {L"Japanese after English may break at the script change", L"abcあい", 48, {L"abcあ", L"い"}},
        {L"a surrogate pair stays whole", L"ab\xD83D\xDE00" L"c", 24, {L"ab", L"\xD83D\xDE00" L"c"}},
        {L"a pair wider than the row stands alone", L"\xD83D\xDE00\xD83D\xDE00", 8, {L"\xD83D\xDE00", L"\xD83D\xDE00"}},
        {L"a run of spaces breaks inside itself", L"ab      cd", 40, {L"ab    ", L"  cd"}},
        {L"tabs go to the next stop and wrap like spaces", L"a\tb\tc", 40, {L"a\tb\t", L"c"}},
    };
    for (const Case& c : cases) EXPECT_EQ(Rows(c.text, c.width), c.rows) << c.what;
}

TEST(TextLayout, PositionsAndHitTests) {
    FixedWidths widths;
    std::wstring text = L"a\tあb\r";
    std::vector<int> xs;
    RowPositions(widths, text.data(), 0, text.size(), xs);
    EXPECT_EQ(xs, (std::vector<int>{0, 8, 32, 48, 56, 56}));
    // Left half of a character: before it; right half: after it.
    EXPECT_EQ(PositionAtX(widths, text.data(), 0, text.size(), 3), 0u);
    EXPECT_EQ(PositionAtX(widths, text.data(), 0, text.size(), 5), 1u);
    EXPECT_EQ(PositionAtX(widths, text.data(), 0, text.size(), 39), 2u);
    EXPECT_EQ(PositionAtX(widths, text.data(), 0, text.size(), 41), 3u);
    // Past the end of a row that ends in a line break: before the break.
    EXPECT_EQ(PositionAtX(widths, text.data(), 0, text.size(), 500), 4u);
    EXPECT_EQ(PositionAtX(widths, text.data(), 0, text.size(), -20), 0u);
    // Never between the halves of a surrogate pair.
    std::wstring pair = L"a\xD83D\xDE00";
    EXPECT_EQ(PositionAtX(widths, pair.data(), 0, pair.size(), 13), 1u);
    EXPECT_EQ(PositionAtX(widths, pair.data(), 0, pair.size(), 20), 3u);
}

TEST(TextLayout, RowOfAPosition) {
    FixedWidths widths;
    std::wstring text = L"ab\rcd\r";
    TextRows rows;
    rows.Reset(800);
    rows.Extend(widths, text.data(), text.size(), true, 100);
    ASSERT_EQ(rows.Count(), 3u);
    EXPECT_EQ(rows.RowOf(0), 0u);
    EXPECT_EQ(rows.RowOf(2), 0u);  // the break belongs to its row
    EXPECT_EQ(rows.RowOf(3), 1u);
    EXPECT_EQ(rows.RowOf(6), 2u);  // the empty last row
    EXPECT_EQ(rows.RowOf(999), 2u);
}

// A text laid out as it arrives, in pieces of every size and with small
// budgets, must give the rows of the whole text laid out at once.
TEST(TextLayout, GrowingTextGivesTheSameRowsAsTheWhole) {
    std::mt19937 random(7);
    const std::wstring alphabet = L"abc de\tfあいう。「」っ\r\xD83D\xDE00";
    std::wstring text;
    for (int i = 0; i < 20000; ++i) {
        size_t k = random() % alphabet.size();
        if (alphabet[k] >= 0xD800 && alphabet[k] <= 0xDBFF) {
            text += alphabet.substr(k, 2);
        } else if (alphabet[k] < 0xDC00 || alphabet[k] > 0xDFFF) {
            text += alphabet[k];
        }
    }
    FixedWidths widths;
    for (int width : {1, 40, 97, 400}) {
        TextRows whole, growing;
        whole.Reset(width);
        whole.Extend(widths, text.data(), text.size(), true, SIZE_MAX);
        growing.Reset(width);
        size_t have = 0;
        while (have < text.size()) {
            have = std::min(text.size(), have + 1 + random() % 700);
            while (growing.Extend(widths, text.data(), have, false, 1 + random() % 300)) {
            }
        }
        while (growing.Extend(widths, text.data(), text.size(), true, 50)) {
        }
        ASSERT_EQ(growing.Count(), whole.Count()) << "width " << width;
        for (size_t r = 0; r < whole.Count(); ++r) ASSERT_EQ(growing.Start(r), whole.Start(r)) << "row " << r;
        // Every row is non-empty but the last, and every row but the last
        // fits or holds a single character or ends in hanging blanks.
        for (size_t r = 0; r + 1 < whole.Count(); ++r) ASSERT_LT(whole.Start(r), whole.Start(r + 1));
    }
}

TEST(TextLayout, LineBreaksBecomeOneCrAcrossPieces) {
    struct Case {
        std::vector<std::wstring> pieces;
        std::wstring out;
    };
    const Case cases[] = {
        {{L"a\r\nb\nc\rd"}, L"a\rb\rc\rd"},
        {{L"a\r", L"\nb"}, L"a\rb"},          // CR LF cut between pieces
        {{L"a\r", L"b"}, L"a\rb"},            // a lone CR at a piece's end
        {{L"a\r"}, L"a\r"},                   // ... and at the text's end
        {{L"\r\r\n\n"}, L"\r\r\r"},
        {{L"a\r", L"", L"\n"}, L"a\r"},       // an empty piece between
    };
    for (const Case& c : cases) {
        std::wstring out;
        bool pending = false;
        for (size_t i = 0; i < c.pieces.size(); ++i) {
            std::wstring buffer(c.pieces[i].size() + 1, L'?');
            size_t n = NormaliseLineBreaks(c.pieces[i].data(), c.pieces[i].size(), i + 1 == c.pieces.size(), pending,
                                           buffer.data());
            out += buffer.substr(0, n);
        }
        EXPECT_EQ(out, c.out);
        EXPECT_FALSE(pending);
    }
}

TEST(TextLayout, DoubleClickSelectsTheWordOfOneKind) {
    const std::wstring text = L"Read me.txt  日本語のテキストです。\r";
    auto word = [&](size_t pos) {
        TextSpan s = WordAt(text.data(), text.size(), pos);
        return text.substr(s.from, s.to - s.from);
    };
    EXPECT_EQ(word(1), L"Read");
    EXPECT_EQ(word(5), L"me");
    EXPECT_EQ(word(7), L".");             // punctuation alone
    EXPECT_EQ(word(11), L"  ");           // a run of blanks
    EXPECT_EQ(word(13), L"日本語");         // kanji
    EXPECT_EQ(word(16), L"の");            // hiragana between kanji and katakana
    EXPECT_EQ(word(19), L"テキスト");
    EXPECT_EQ(word(text.size() - 1), L"");  // the line break selects nothing
    EXPECT_EQ(word(text.size() + 5), L"");
}
