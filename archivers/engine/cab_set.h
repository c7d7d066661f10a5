// How the cabinets of a set fit together: which file entries cross from one
// part into the next, and whether a cabinet found by name really is the next
// part of another one. The reader trusts no name in a header; only these
// checks decide what joins the set.
#pragma once

#include "cab_format.h"

namespace arc {

bool cabContinuedFromPrevious(const CabFile& f);
bool cabContinuedToNext(const CabFile& f);

// True when `after` is the part that follows `before` in one set: the same
// set ID, the next index, and, where a folder runs on from one into the
// other, the same file entries on both sides of the boundary (name, size,
// offset) and the same compression. Anything else is a foreign cabinet.
bool cabFollows(const CabDirectory& before, const CabDirectory& after);

// True when the first folder of `after` goes on from its previous cabinet
// (some file entry says it was continued from there).
bool cabJoinsPrevious(const CabDirectory& after);

}  // namespace arc
