// Names compared through our upper-case table (see name_case.h): the key
// holds the upper-cased units, compared one by one.
#include "name_case.h"

namespace arc {

extern const bool kFileNameKeyUpcased = true;

int FileNameKey::compare(const FileNameKey& other) const { return units_.compare(other.units_); }

}  // namespace arc
