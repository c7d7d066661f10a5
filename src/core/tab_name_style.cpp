#include "core/tab_name_style.h"

#include "core/path_text.h"

namespace quibex {

std::wstring ApplyTabNameStyle(const std::wstring& name, int style) {
    switch (style) {
    case 1: return ToUpper(name);
    case 2: return ToLower(name);
    case 3:
        if (name.empty()) return name;
        return ToUpper(name.substr(0, 1)) + ToLower(name.substr(1));
    default: return name;
    }
}

}  // namespace quibex
