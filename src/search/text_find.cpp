#include "search/text_find.h"

#include <cstdint>
#include <cstring>
#include <cwchar>

namespace quibex {
namespace {

// Four 16-bit lanes in a 64-bit word. A lane of `x` that is zero sets its top
// bit in the result; a lane above a zero lane may be flagged as well (the
// borrow), so a flagged block is checked unit by unit.
constexpr uint64_t kLaneOnes = 0x0001000100010001ull;
constexpr uint64_t kLaneTops = 0x8000800080008000ull;
inline uint64_t ZeroLanes(uint64_t x) { return (x - kLaneOnes) & ~x & kLaneTops; }

inline uint64_t Load4(const wchar_t* p) {
    uint16_t units[4] = {static_cast<uint16_t>(p[0]), static_cast<uint16_t>(p[1]), static_cast<uint16_t>(p[2]),
                         static_cast<uint16_t>(p[3])};
    uint64_t x;
    std::memcpy(&x, units, sizeof x);
    return x;
}

}  // namespace

bool IsWordUnit(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'_';
}

TextFinder::TextFinder(std::wstring_view what, bool matchCase, bool wholeWord, const UpperTable& upper)
    : what_(what), matchCase_(matchCase), wholeWord_(wholeWord), upper_(upper) {
    if (what_.empty()) return;
    const wchar_t first = what_[0];
    if (matchCase_) {
        firstForms_.push_back(first);
        return;
    }
    const wchar_t target = upper_[static_cast<uint16_t>(first)];
    for (size_t c = 0; c < upper_.size(); ++c)
        if (upper_[c] == target) firstForms_.push_back(static_cast<wchar_t>(c));
}

const wchar_t* TextFinder::ScanFirst(const wchar_t* p, const wchar_t* end) const {
    if (firstForms_.size() > 2) {  // rare: a character with three or more forms
        const wchar_t target = upper_[static_cast<uint16_t>(what_[0])];
        for (; p < end; ++p)
            if (upper_[static_cast<uint16_t>(*p)] == target) return p;
        return end;
    }
    const wchar_t a = firstForms_[0];
    const wchar_t b = firstForms_.size() > 1 ? firstForms_[1] : a;
    const uint64_t lanesA = kLaneOnes * static_cast<uint16_t>(a);
    const uint64_t lanesB = kLaneOnes * static_cast<uint16_t>(b);
    while (end - p >= 4) {
        const uint64_t x = Load4(p);
        if (ZeroLanes(x ^ lanesA) | ZeroLanes(x ^ lanesB)) {
            for (int k = 0; k < 4; ++k)
                if (p[k] == a || p[k] == b) return p + k;
        }
        p += 4;
    }
    for (; p < end; ++p)
        if (*p == a || *p == b) return p;
    return end;
}

bool TextFinder::MatchesAt(const wchar_t* text, size_t size, size_t at) const {
    const size_t n = what_.size();
    const wchar_t* t = text + at;
    if (matchCase_) {
        if (std::wmemcmp(t, what_.data(), n) != 0) return false;
    } else {
        for (size_t k = 0; k < n; ++k)
            if (upper_[static_cast<uint16_t>(t[k])] != upper_[static_cast<uint16_t>(what_[k])]) return false;
    }
    if (wholeWord_ && ((at > 0 && IsWordUnit(text[at - 1])) || (at + n < size && IsWordUnit(text[at + n]))))
        return false;
    return true;
}

size_t TextFinder::FindDown(const wchar_t* text, size_t size, size_t from, size_t to) const {
    const size_t n = what_.size();
    if (n == 0 || to > size || from >= to || to - from < n) return kNotFound;
    const wchar_t* end = text + (to - n + 1);  // where a match may start, at the latest (exclusive)
    for (const wchar_t* p = text + from;; ++p) {
        p = ScanFirst(p, end);
        if (p == end) return kNotFound;
        if (MatchesAt(text, size, static_cast<size_t>(p - text))) return static_cast<size_t>(p - text);
    }
}

size_t TextFinder::FindUp(const wchar_t* text, size_t size, size_t from, size_t low) const {
    const size_t n = what_.size();
    if (n == 0 || from > size || from < low || from - low < n) return kNotFound;
    for (size_t at = from - n + 1; at-- > low;)
        if (MatchesAt(text, size, at)) return at;
    return kNotFound;
}

}  // namespace quibex
