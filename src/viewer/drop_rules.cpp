#include "viewer/drop_rules.h"

#include "core/path_text.h"

namespace quibex {

bool IsRecycleBinPath(const std::wstring& path) {
    if (path.size() < 12) return false;
    std::wstring part = ToLower(path.substr(1, 11));
    return part == L":\\recycled\\" || part == L":\\recycler\\";
}

std::wstring DropCommandLine(const std::wstring& programFolder, const std::wstring& droppedPath) {
    bool root = programFolder.size() < 4 && !programFolder.empty() && programFolder.back() == L'\\';
    std::wstring exe = programFolder + (root ? L"Quibex.exe" : L"\\Quibex.exe");
    bool quoted = exe.size() >= 2 && exe.front() == L'"' && exe.back() == L'"';
    if (!quoted) exe = L"\"" + exe + L"\"";
    return exe + L" \"" + droppedPath + L"\"";
}

int DropEffect(bool allowSecondInstance, int modifiers) {
    return DropEndsInstance(allowSecondInstance, modifiers) ? kDropEffectMove : kDropEffectCopy;
}

bool DropEndsInstance(bool allowSecondInstance, int modifiers) {
    return !allowSecondInstance || (modifiers & (kDropShift | kDropCtrl | kDropAlt)) == kDropShift;
}

}  // namespace quibex
