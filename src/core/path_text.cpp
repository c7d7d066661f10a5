#include "core/path_text.h"

#include <cwctype>

namespace quibex {

std::wstring StripSurroundingQuotes(const std::wstring& text) {
    if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"') return text.substr(1, text.size() - 2);
    return text;
}

std::wstring UnquotePath(const std::wstring& path) {
    std::wstring p = StripSurroundingQuotes(path);
    if (!p.empty() && p.back() == L'\\') p.pop_back();
    return p;
}

std::wstring FileNameOf(const std::wstring& path) {
    size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) return L"";
    return path.substr(slash + 1);
}

std::wstring ExtensionOf(const std::wstring& path) {
    size_t dot = path.rfind(L'.');
    return dot == std::wstring::npos ? L"" : path.substr(dot + 1);
}

bool SplitPathRoot(const std::wstring& path, std::wstring& root, std::wstring& rest) {
    auto isSep = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    if (path.size() >= 2 && isSep(path[0]) && isSep(path[1])) {
        size_t second = path.find(L'\\', 2);
        if (second == std::wstring::npos) return false;
        root = path.substr(0, second);
        rest = path.substr(second + 1);
        return true;
    }
    size_t colon = path.find(L':');
    root = colon == std::wstring::npos ? L"" : path.substr(0, colon + 1);
    rest = colon == std::wstring::npos ? path : path.substr(colon + 1);
    if (!rest.empty() && rest.front() == L'\\') rest.erase(0, 1);
    return true;
}

std::wstring ToUpper(const std::wstring& text) {
    std::wstring s = text;
    for (auto& c : s) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return s;
}

std::wstring ToLower(const std::wstring& text) {
    std::wstring s = text;
    for (auto& c : s) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return s;
}

std::wstring TrimSpaces(const std::wstring& text) {
    size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return L"";
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

}  // namespace quibex
