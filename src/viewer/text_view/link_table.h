// The links of one text as ranges, in text order: what the viewer colours,
// and what the pointer test and a click look up (binary search, so a mouse
// move costs O(log links)). Pure data.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace quibex {

struct LinkRange {
    size_t start = 0, end = 0;  // [start, end)
    bool mail = false;          // green; a URL is blue
};

// Link colours (COLORREF values: red in the low byte).
inline constexpr unsigned long kUrlLinkColour = 0xFF0000;   // RGB(0, 0, 255)
inline constexpr unsigned long kMailLinkColour = 0x008000;  // RGB(0, 128, 0)

class LinkTable {
public:
    // Links come in scan order: each ends after the one before. Two may
    // touch or overlap ("a@b@c" holds "a@b" and "b@c").
    void Add(const LinkRange& link) { links_.push_back(link); }
    size_t Count() const { return links_.size(); }
    bool Empty() const { return links_.empty(); }
    const LinkRange& operator[](size_t i) const { return links_[i]; }
    void Clear() { links_.clear(); }

    // Index of the first link that ends after `pos`; Count() when none.
    size_t FirstEndingAfter(size_t pos) const;
    // The link holding the character at `pos`, the latest when two overlap
    // (its colour is the one shown); nullptr when none.
    const LinkRange* At(size_t pos) const;
    // The marked run around `pos`: links that touch or overlap joined, as a
    // character flag set on every link's characters would read back.
    std::optional<LinkRange> RunAt(size_t pos) const;

private:
    std::vector<LinkRange> links_;
};

}  // namespace quibex
