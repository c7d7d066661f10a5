#include "name_case.h"

#include <algorithm>
#include <iterator>

#include "name_case_table.h"

namespace arc {

char32_t fileSystemUpper(char32_t c) {
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

}  // namespace arc
