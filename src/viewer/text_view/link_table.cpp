#include "viewer/text_view/link_table.h"

#include <algorithm>

namespace quibex {

size_t LinkTable::FirstEndingAfter(size_t pos) const {
    // Ends grow strictly from link to link.
    auto it = std::upper_bound(links_.begin(), links_.end(), pos,
                               [](size_t p, const LinkRange& link) { return p < link.end; });
    return static_cast<size_t>(it - links_.begin());
}

const LinkRange* LinkTable::At(size_t pos) const {
    const LinkRange* found = nullptr;
    for (size_t i = FirstEndingAfter(pos); i < links_.size() && links_[i].start <= pos; ++i) found = &links_[i];
    return found;
}

std::optional<LinkRange> LinkTable::RunAt(size_t pos) const {
    size_t first = FirstEndingAfter(pos);
    if (first == links_.size() || links_[first].start > pos) return std::nullopt;
    LinkRange run = links_[first];
    for (size_t i = first; i > 0 && links_[i - 1].end >= run.start; --i)
        run.start = std::min(run.start, links_[i - 1].start);
    for (size_t i = first + 1; i < links_.size() && links_[i].start <= run.end; ++i) run.end = links_[i].end;
    return run;
}

}  // namespace quibex
