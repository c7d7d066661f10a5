// Name comparison by the system's own file-name rule (see name_case.h).
#include <windows.h>

#include <string>

#include "name_case.h"
#include "wide_path_win.h"

namespace arc {

int compareFileNames(std::string_view a, std::string_view b) {
    std::wstring wa = widenUtf8(a), wb = widenUtf8(b);
    int r = CompareStringOrdinal(wa.data(), static_cast<int>(wa.size()), wb.data(), static_cast<int>(wb.size()), TRUE);
    return r == CSTR_LESS_THAN ? -1 : r == CSTR_GREATER_THAN ? 1 : 0;
}

}  // namespace arc
