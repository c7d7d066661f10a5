#include "archive/work_folder_names.h"

#include <cwctype>

#include "core/path_text.h"

namespace quibex {

namespace {

std::wstring WithSlash(const std::wstring& folder) {
    return !folder.empty() && folder.back() == L'\\' ? folder : folder + L"\\";
}

bool IsAbsolute(const std::wstring& path) {
    bool drive = path.size() >= 3 && std::iswalpha(path[0]) && path[1] == L':' && path[2] == L'\\';
    bool unc = path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\';
    return drive || unc;
}

// The parts of an absolute path without its trailing "\": parent and last part.
bool SplitLast(const std::wstring& path, std::wstring& parent, std::wstring& last) {
    if (!IsAbsolute(path)) return false;
    std::wstring p = path;
    if (p.back() == L'\\') p.pop_back();
    size_t cut = p.rfind(L'\\');
    if (cut == std::wstring::npos || cut + 1 >= p.size() || cut < 2) return false;
    parent = p.substr(0, cut);
    last = ToLower(p.substr(cut + 1));
    return true;
}

bool DigitsAfter(const std::wstring& text, const std::wstring& prefix) {
    if (text.size() <= prefix.size() || text.compare(0, prefix.size(), prefix) != 0) return false;
    for (size_t i = prefix.size(); i < text.size(); ++i)
        if (!std::iswdigit(text[i])) return false;
    return true;
}

bool IsOwnFolderName(const std::wstring& lowerName) { return lowerName == L"temp" || lowerName == L"quibex temp"; }

}  // namespace

std::wstring WorkFolderFor(const std::wstring& appFolder) { return WithSlash(appFolder) + L"temp"; }

std::wstring FallbackWorkFolderFor(const std::wstring& tempPath) { return WithSlash(tempPath) + L"Quibex temp"; }

std::wstring CabWorkFolderFor(const std::wstring& tempPath) { return WithSlash(tempPath) + L"~quibex.tmp"; }

std::wstring InstanceWorkFolder(const std::wstring& folder, unsigned long processId) {
    return WithSlash(folder) + L"qx-" + std::to_wstring(processId);
}

std::wstring InstanceCabWorkFolder(const std::wstring& cabFolder, unsigned long processId) {
    return cabFolder + L"-" + std::to_wstring(processId);
}

bool IsWorkFolderPath(const std::wstring& path) {
    std::wstring parent, last;
    if (!SplitLast(path, parent, last)) return false;
    if (IsOwnFolderName(last)) return true;
    std::wstring grandparent, parentName;
    return DigitsAfter(last, L"qx-") && SplitLast(parent, grandparent, parentName) && IsOwnFolderName(parentName);
}

bool IsCabWorkFolderPath(const std::wstring& path) {
    std::wstring parent, last;
    return SplitLast(path, parent, last) && (last == L"~quibex.tmp" || DigitsAfter(last, L"~quibex.tmp-"));
}

}  // namespace quibex
