#include "viewer/text_view/text_layout.h"

#include <algorithm>
#include <cstdint>

namespace quibex {
namespace {

bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == 0x3000; }

// CJK ideographs, kana, full-width forms, half-width kana and the characters
// of the supplementary planes (whose high surrogates land here too): text
// that may break between any two of its characters.
bool IsWide(wchar_t c) { return c >= 0x2E80; }

// A set of UTF-16 characters with a constant-time lookup (8 KiB).
class CharSet {
public:
    explicit CharSet(const wchar_t* list) {
        for (const wchar_t* p = list; *p; ++p) bits_[Index(*p)] |= Bit(*p);
    }
    bool Has(wchar_t c) const { return bits_[Index(c)] & Bit(c); }

private:
    static size_t Index(wchar_t c) { return static_cast<uint16_t>(c) >> 6; }
    static uint64_t Bit(wchar_t c) { return uint64_t{1} << (static_cast<uint16_t>(c) & 63); }
    uint64_t bits_[1024] = {};
};

// Closing punctuation, prolonged-sound marks and small kana: never the first
// character of a wrapped row.
bool NoBreakBefore(wchar_t c) {
    static const CharSet set(
        L"、。，．・：；？！゛゜ヽヾゝゞ々ー）〕］｝〉》」』】〙〗’”…‥"
        L"ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ"
        L"｡｣､･ｰｧｨｩｪｫｬｭｮｯﾞﾟ)]},.!?:;%");
    return set.Has(c);
}

// Opening brackets: never the last character of a wrapped row.
bool NoBreakAfter(wchar_t c) {
    static const CharSet set(L"（〔［｛〈《「『【〘〖‘“｢([{");
    return set.Has(c);
}

bool CanBreakBetween(wchar_t before, wchar_t after) {
    if (IsLowSurrogate(after) || IsBlank(after)) return false;
    if (IsBlank(before)) return true;
    // Most pairs are two half-width characters: no break, no lookup.
    if (!IsWide(before) && !IsWide(after)) return false;
    return !NoBreakBefore(after) && !NoBreakAfter(before);
}

}  // namespace

int AdvanceFrom(GlyphWidths& widths, const wchar_t* text, size_t i, int x) {
    wchar_t c = text[i];
    if (c == L'\t') return (x / widths.TabWidth() + 1) * widths.TabWidth();
    if (c == L'\r' || IsLowSurrogate(c)) return x;
    return x + widths.Width(c);
}

size_t RowEnd(GlyphWidths& widths, const wchar_t* text, size_t size, size_t start, int width, bool complete) {
    int x = 0;
    size_t lastBreak = start;  // a place after `start` where the row may end
    for (size_t i = start; i < size; ++i) {
        wchar_t c = text[i];
        if (c == L'\r') return i + 1;
        int next = AdvanceFrom(widths, text, i, x);
        if (next > width && i > start && !IsLowSurrogate(c)) {
            // One blank may hang past the edge; a run of them breaks there.
            if (!IsBlank(c)) return lastBreak > start ? lastBreak : i;
            if (x > width) return i;
        }
        x = next;
        if (i + 1 < size && CanBreakBetween(c, text[i + 1])) lastBreak = i + 1;
    }
    return complete ? size : 0;
}

void RowPositions(GlyphWidths& widths, const wchar_t* text, size_t start, size_t end, std::vector<int>& xs) {
    xs.resize(end - start + 1);
    int x = 0;
    for (size_t i = start; i < end; ++i) {
        xs[i - start] = x;
        x = AdvanceFrom(widths, text, i, x);
    }
    xs[end - start] = x;
}

size_t PositionAtX(GlyphWidths& widths, const wchar_t* text, size_t start, size_t end, int x) {
    size_t last = end > start && text[end - 1] == L'\r' ? end - 1 : end;
    int at = 0;
    for (size_t i = start; i < last; ++i) {
        int next = AdvanceFrom(widths, text, i, at);
        if (x < at + (next - at + 1) / 2 && !IsLowSurrogate(text[i])) return i;
        at = next;
    }
    return last;
}

void TextRows::Reset(int width) {
    starts_.assign(1, 0);
    next_ = 0;
    width_ = std::max(width, 1);
    done_ = false;
}

bool TextRows::Extend(GlyphWidths& widths, const wchar_t* text, size_t size, bool complete, size_t budget) {
    size_t from = next_;
    while (!done_ && next_ - from < budget) {
        size_t end = RowEnd(widths, text, size, next_, width_, complete);
        if (end == 0) return false;  // the row goes on in text still to come
        if (end == size && complete) {
            // A text ending in a line break has an empty last row for the caret.
            if (end > next_ && text[end - 1] == L'\r') starts_.push_back(static_cast<uint32_t>(end));
            next_ = end;
            done_ = true;
            break;
        }
        starts_.push_back(static_cast<uint32_t>(end));
        next_ = end;
    }
    return !done_ && (next_ < size || complete);
}

size_t TextRows::RowOf(size_t pos) const {
    auto it =
        std::upper_bound(starts_.begin(), starts_.end(), static_cast<uint32_t>(std::min<size_t>(pos, UINT32_MAX)));
    return static_cast<size_t>(it - starts_.begin()) - 1;
}

}  // namespace quibex

namespace quibex {

size_t NormaliseLineBreaks(const wchar_t* in, size_t n, bool last, bool& pendingCr, wchar_t* out) {
    size_t w = 0;
    for (size_t i = 0; i < n; ++i) {
        wchar_t c = in[i];
        if (pendingCr) {
            pendingCr = false;
            out[w++] = L'\r';
            if (c == L'\n') continue;
        }
        if (c == L'\r')
            pendingCr = true;
        else
            out[w++] = c == L'\n' ? L'\r' : c;
    }
    if (last && pendingCr) {
        pendingCr = false;
        out[w++] = L'\r';
    }
    return w;
}

}  // namespace quibex

namespace quibex {
namespace {

enum class CharKind { Blank, Break, Word, Hiragana, Katakana, Kanji, Other };

CharKind KindOf(wchar_t c) {
    if (c == L' ' || c == L'\t' || c == 0x3000) return CharKind::Blank;
    if (c == L'\r') return CharKind::Break;
    if ((c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_' ||
        (c >= 0xFF10 && c <= 0xFF19) || (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A) ||
        (c >= 0x00C0 && c <= 0x024F))
        return CharKind::Word;
    if (c >= 0x3041 && c <= 0x309F) return CharKind::Hiragana;
    if ((c >= 0x30A1 && c <= 0x30FF) || (c >= 0xFF66 && c <= 0xFF9F)) return CharKind::Katakana;
    if ((c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || c == 0x3005 || (c >= 0xD800 && c <= 0xDFFF))
        return CharKind::Kanji;
    return CharKind::Other;
}

}  // namespace

TextSpan WordAt(const wchar_t* text, size_t size, size_t pos) {
    if (pos >= size) return {size, size};
    CharKind kind = KindOf(text[pos]);
    if (kind == CharKind::Break) return {pos, pos};
    if (kind == CharKind::Other) return {pos, pos + 1};
    size_t from = pos, to = pos + 1;
    while (from > 0 && KindOf(text[from - 1]) == kind) --from;
    while (to < size && KindOf(text[to]) == kind) ++to;
    return {from, to};
}

}  // namespace quibex
