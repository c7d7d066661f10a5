// CP932 conversions through the Windows code page tables.
#include <windows.h>

#include "text_codec.h"

namespace arc {

std::string cp932ToUtf8(const std::string& bytes) {
    if (bytes.empty()) return {};
    int n = MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), w.data(), n);
    int m = WideCharToMultiByte(CP_UTF8, 0, w.data(), n, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(m), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), n, out.data(), m, nullptr, nullptr);
    return out;
}

std::string utf8ToCp932(const std::string& utf8) {
    if (utf8.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
    int m = WideCharToMultiByte(932, 0, w.data(), n, nullptr, 0, "?", nullptr);
    std::string out(static_cast<size_t>(m), '\0');
    WideCharToMultiByte(932, 0, w.data(), n, out.data(), m, "?", nullptr);
    return out;
}

}  // namespace arc
