// Laying a plain text out in rows for the large-text view: where each row
// ends when the text is wrapped at a width, and where each character of a
// row sits. Pure code over UTF-16; glyph widths come from a table the
// window side fills from the font.
//
// The text keeps one line break character, CR (as rich-edit boxes keep it):
// a row ends after a CR, or where the next character would pass the width.
// A wrapped row breaks after the last space, or between two characters of
// which one is a CJK or kana character, never before closing punctuation
// or small kana nor after opening brackets; a row with no such place breaks
// where the width runs out, and every row holds at least one character.
// A space may hang past the right edge rather than start a row.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quibex {

// Advance widths of the characters of one font, filled a small block at a
// time on first use: asking the font for a glyph's width loads the glyph,
// and a screen of Japanese text uses a few hundred of the tens of thousands
// of kanji. A surrogate pair counts its full width on the high half.
class GlyphWidths {
public:
    static constexpr unsigned kBlockShift = 4;
    static constexpr unsigned kBlockChars = 1u << kBlockShift;

    virtual ~GlyphWidths() = default;
    int Width(wchar_t c) {
        unsigned block = static_cast<uint16_t>(c) >> kBlockShift;
        if (!filled_[block]) {
            FillBlock(block, &widths_[block << kBlockShift]);
            filled_[block] = true;
        }
        return widths_[static_cast<uint16_t>(c)];
    }
    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int width) { tabWidth_ = width > 0 ? width : 1; }

protected:
    // Writes the widths of the kBlockChars characters from block * kBlockChars.
    virtual void FillBlock(unsigned block, int32_t* out) = 0;

private:
    int32_t widths_[65536] = {};
    bool filled_[65536 >> kBlockShift] = {};
    int tabWidth_ = 64;
};

// Position of `text[i]` after `x` pixels of its row: a tab goes to the next
// tab stop, a line break and a low surrogate take no room.
int AdvanceFrom(GlyphWidths& widths, const wchar_t* text, size_t i, int x);

// The end (exclusive) of the row starting at `start` in text[0, size), laid
// out in `width` pixels. When the row would reach `size` without ending and
// more text is to come (`complete` false), returns 0 to say "not yet".
size_t RowEnd(GlyphWidths& widths, const wchar_t* text, size_t size, size_t start, int width, bool complete);

// The row-relative x of each position start..end of a row (end included).
void RowPositions(GlyphWidths& widths, const wchar_t* text, size_t start, size_t end, std::vector<int>& xs);

// The text position in row [start, end) nearest to `x`: a click on the right
// half of a character lands after it. A row ending in a line break never
// puts the position after it.
size_t PositionAtX(GlyphWidths& widths, const wchar_t* text, size_t start, size_t end, int x);

// Row starts of a text that grows at its end, and that is laid out again
// from the start when the width changes.
class TextRows {
public:
    // Starts over for `width` pixels (e.g. after a resize).
    void Reset(int width);
    // Lays out rows from where it stopped until `budget` characters are done
    // or the text is used up; true when rows remain to be laid out.
    bool Extend(GlyphWidths& widths, const wchar_t* text, size_t size, bool complete, size_t budget);
    // Rows known so far; a complete text of zero characters has one empty row.
    size_t Count() const { return starts_.size(); }
    size_t Start(size_t row) const { return starts_[row]; }
    // End of a row: the next row's start, or `size` for the last. The last
    // row of a layout still under way ends within kOpenRowChars, so that a
    // caller never walks the rest of a large text as one row.
    static constexpr size_t kOpenRowChars = 4096;
    size_t End(size_t row, size_t size) const {
        if (row + 1 < starts_.size()) return starts_[row + 1];
        return done_ ? size : std::min(size, next_ + kOpenRowChars);
    }
    // The row holding text position `pos` (the last row for a position past the end).
    size_t RowOf(size_t pos) const;
    // Text laid out so far: every row starting before this is final.
    size_t LaidOut() const { return next_; }
    // True once a complete text has all its rows.
    bool Done() const { return done_; }
    int Width() const { return width_; }

private:
    std::vector<uint32_t> starts_{0};
    size_t next_ = 0;  // start of the row not laid out yet
    int width_ = 1;
    bool done_ = false;
};

}  // namespace quibex

namespace quibex {

// Copies `n` characters to `out` with every line break (CR LF, LF or CR)
// made one CR; returns how many it wrote (at most n + 1). A CR at the end of
// a piece waits in `pendingCr` for the next piece, or for `last`, so that a
// CR LF pair cut between pieces stays one break.
size_t NormaliseLineBreaks(const wchar_t* in, size_t n, bool last, bool& pendingCr, wchar_t* out);

}  // namespace quibex

namespace quibex {

// The word a double click at `pos` selects: the run of characters of one
// kind around it (letters and digits, hiragana, katakana, kanji, blanks);
// any other character is a word by itself. Returns [from, to).
struct TextSpan {
    size_t from, to;
};
TextSpan WordAt(const wchar_t* text, size_t size, size_t pos);

}  // namespace quibex
