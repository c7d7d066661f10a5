#include "archive/text_selection.h"

#include <algorithm>
#include <sstream>

#include "core/path_text.h"

namespace quibex {

namespace {
std::wstring Backslashed(const std::wstring& member) {
    std::wstring s = member;
    std::replace(s.begin(), s.end(), L'/', L'\\');
    return s;
}
}  // namespace

std::wstring ExtensionsToPatterns(const std::wstring& list) {
    std::wistringstream words(TrimSpaces(list));
    std::wstring word, out;
    while (words >> word) {
        if (!out.empty()) out += L' ';
        out += L"*." + word;
    }
    return out;
}

bool IsTextFileName(const std::wstring& name, const std::wstring& txtType) {
    std::wstring ext = ToLower(ExtensionOf(name));
    if (ext == L"txt") return true;
    if (txtType.empty()) return false;
    return ToLower(txtType).find(ext) != std::wstring::npos;
}

std::wstring NamePartOf(const std::wstring& member) {
    std::wstring s = Backslashed(member);
    size_t cut = s.rfind(L'\\');
    if (cut == std::wstring::npos) cut = s.rfind(L':');
    return cut == std::wstring::npos ? s : s.substr(cut + 1);
}

std::wstring FolderPartOf(const std::wstring& member) {
    std::wstring s = Backslashed(member);
    if (!s.empty() && s.back() == L'\\') s.pop_back();
    size_t cut = s.rfind(L'\\');
    return cut == std::wstring::npos ? L"" : s.substr(0, cut);
}

}  // namespace quibex
