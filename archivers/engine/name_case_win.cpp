// Name comparison by the system's own file-name rule (see name_case.h).
#include <windows.h>

#include <string>

#include "name_case.h"

namespace arc {

namespace {
std::wstring wide(std::string_view utf8) {
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
    return w;
}
}  // namespace

int compareFileNames(std::string_view a, std::string_view b) {
    std::wstring wa = wide(a), wb = wide(b);
    int r = CompareStringOrdinal(wa.data(), static_cast<int>(wa.size()), wb.data(), static_cast<int>(wb.size()), TRUE);
    return r == CSTR_LESS_THAN ? -1 : r == CSTR_GREATER_THAN ? 1 : 0;
}

}  // namespace arc
