#include "viewer/text_view/text_view.h"

#include <richedit.h>

#include <algorithm>

namespace quibex {

std::wstring TextView::TextBetween(size_t from, size_t to) const {
    std::wstring text(to - from + 1, L'\0');
    TEXTRANGEW range{{static_cast<LONG>(from), static_cast<LONG>(to)}, text.data()};
    auto got = static_cast<size_t>(SendMessageW(box_, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range)));
    text.resize(std::min(got, to - from));
    return text;
}

// The box answers with the nearest character boundary, which lies right of
// the point when the point is on the right half of a character. The whole
// answer counts: a text may be longer than the 65,535 characters of its low word.
size_t TextView::CharAt(POINT p) const {
    POINTL at{p.x, p.y};
    LRESULT nearest = SendMessageW(box_, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&at));
    if (nearest <= 0) return 0;
    auto pos = static_cast<size_t>(nearest);
    POINTL here{}, before{};
    SendMessageW(box_, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&here), static_cast<LPARAM>(pos));
    SendMessageW(box_, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&before), static_cast<LPARAM>(pos - 1));
    if (here.x > p.x && before.y == here.y) --pos;
    return pos;
}

}  // namespace quibex
