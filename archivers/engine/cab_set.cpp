// Real sets list a file that crosses a part boundary in both parts: as
// continued to the next in the first, as continued from the previous (or
// both ways) in the second, with the same name, size and folder offset. A
// folder's pieces carry no link of their own, so these entries are the only
// evidence that two pieces belong to one folder.
#include "cab_set.h"

#include <algorithm>
#include <tuple>

namespace arc {
namespace {

using Crossing = std::tuple<std::string, uint32_t, uint32_t>;

std::vector<Crossing> crossingEntries(const CabDirectory& dir, bool (*crosses)(const CabFile&)) {
    std::vector<Crossing> out;
    for (const CabFile& f : dir.files)
        if (crosses(f)) out.emplace_back(f.rawName, f.size, f.folderOffset);
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

bool cabContinuedFromPrevious(const CabFile& f) {
    return f.folderIndex == kCabContinuedFromPrev || f.folderIndex == kCabContinuedPrevAndNext;
}

bool cabContinuedToNext(const CabFile& f) {
    return f.folderIndex == kCabContinuedToNext || f.folderIndex == kCabContinuedPrevAndNext;
}

bool cabFollows(const CabDirectory& before, const CabDirectory& after) {
    if (after.setId != before.setId || after.setIndex != before.setIndex + 1) return false;
    const std::vector<Crossing> leaving = crossingEntries(before, cabContinuedToNext);
    if (leaving != crossingEntries(after, cabContinuedFromPrevious)) return false;
    // readCabDirectory refuses cabinets without folders.
    return leaving.empty() || before.folders.back().compression == after.folders.front().compression;
}

bool cabJoinsPrevious(const CabDirectory& after) {
    return std::any_of(after.files.begin(), after.files.end(), cabContinuedFromPrevious);
}

}  // namespace arc
