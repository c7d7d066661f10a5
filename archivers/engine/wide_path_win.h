// UTF-8 (the engine's form of names and paths) to UTF-16 for the wide Windows
// APIs; shared by the *_win.cpp files.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace arc {

inline std::wstring widenUtf8(std::string_view utf8) {
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
    return w;
}

}  // namespace arc
