#include "options/chooser_folder.h"

#include <windows.h>

#include "options/option_rules.h"

namespace quibex {

std::wstring ChooserStartFolder(const std::wstring& path) {
    const std::wstring folder = BrowseFolderOf(path);
    if (folder.empty()) return folder;
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    const bool isFolder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    return isFolder ? folder : std::wstring();
}

}  // namespace quibex
