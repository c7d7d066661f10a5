#include "search/system_case.h"

#include <windows.h>

namespace quibex {

const UpperTable& SystemUpperTable() {
    static const UpperTable table = [] {
        UpperTable t(65536);
        for (size_t c = 0; c < t.size(); ++c) t[c] = static_cast<wchar_t>(c);
        CharUpperBuffW(t.data(), static_cast<DWORD>(t.size()));
        return t;
    }();
    return table;
}

}  // namespace quibex
