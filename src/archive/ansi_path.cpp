#include "archive/ansi_path.h"

#include <windows.h>

#include <vector>

namespace quibex {

std::string ToAnsi(const std::wstring& text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring FromAnsi(const std::string& text) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

bool RepresentableInAnsi(const std::wstring& text) {
    // A best-fit mapping may turn a character into a look-alike without
    // reporting it, so compare the round trip instead.
    return FromAnsi(ToAnsi(text)) == text;
}

std::wstring PathForLibrary(const std::wstring& path) {
    if (RepresentableInAnsi(path)) return path;
    bool slash = !path.empty() && path.back() == L'\\';
    std::wstring bare = slash ? path.substr(0, path.size() - 1) : path;
    DWORD n = GetShortPathNameW(bare.c_str(), nullptr, 0);
    if (n == 0) return path;
    std::vector<wchar_t> buf(n);
    n = GetShortPathNameW(bare.c_str(), buf.data(), n);
    if (n == 0 || n >= buf.size()) return path;
    std::wstring shortPath(buf.data(), n);
    return slash ? shortPath + L"\\" : shortPath;
}

}  // namespace quibex
