// Names compared by the system's own file-name rule (see name_case.h):
// CompareStringOrdinal ignoring case, on the units as they are.
#include <windows.h>

#include "name_case.h"

namespace arc {

extern const bool kFileNameKeyUpcased = false;

int FileNameKey::compare(const FileNameKey& other) const {
    const auto* a = reinterpret_cast<const wchar_t*>(units_.data());
    const auto* b = reinterpret_cast<const wchar_t*>(other.units_.data());
    int r = CompareStringOrdinal(a, static_cast<int>(units_.size()), b, static_cast<int>(other.units_.size()), TRUE);
    return r == CSTR_LESS_THAN ? -1 : r == CSTR_GREATER_THAN ? 1 : 0;
}

}  // namespace arc
