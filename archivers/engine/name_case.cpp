#include "name_case.h"

#include <algorithm>
#include <iterator>

#include "name_case_table.h"
#include "text_codec.h"

namespace arc {

// Whether the key folds case itself (the platform file says).
extern const bool kFileNameKeyUpcased;

char32_t fileSystemUpper(char32_t c) {
    if (c < 0x80) return c >= U'a' && c <= U'z' ? c - 0x20 : c;
    if (c > 0xFFFF) return c;
    const auto& runs = casetable::kUpper;
    // The last run starting at or before c.
    auto it = std::upper_bound(std::begin(runs), std::end(runs), c,
                               [](char32_t v, const casetable::Run& r) { return v < r.first; });
    if (it == std::begin(runs)) return c;
    const casetable::Run& r = *std::prev(it);
    if (c > r.last || (r.stride > 1 && (c - r.first) % r.stride != 0)) return c;
    return static_cast<char32_t>(static_cast<int32_t>(c) + r.delta);
}

namespace {
// UTF-16 units of a UTF-8 name; each BMP unit through `map`.
template <typename Map>
std::u16string utf16Units(std::string_view utf8, Map map) {
    std::u16string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        char32_t c = nextUtf8(utf8, i);
        if (c > 0xFFFF) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(map(c));
        }
    }
    return out;
}
}  // namespace

FileNameKey::FileNameKey(std::string_view utf8)
    : units_(utf16Units(utf8, [](char32_t c) { return kFileNameKeyUpcased ? fileSystemUpper(c) : c; })) {}

}  // namespace arc
