// Files and paths for end-to-end tests, as the Windows side sees them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace e2e {

// Whole file as bytes; empty with ok=false when it cannot be opened.
std::vector<unsigned char> readFileBytes(const std::wstring& path, bool* ok = nullptr);
// Writes bytes to a file, replacing it; false on failure.
bool writeFileBytes(const std::wstring& path, std::string_view bytes);
// Host (Unix) absolute path -> Wine path on drive Z: ("/a/b" -> "Z:\\a\\b"); other input is returned with '/' turned into '\\'.
std::wstring hostToWinePath(std::string_view hostPath);
// Joins a folder and a name with one backslash.
std::wstring joinPath(std::wstring_view folder, std::wstring_view name);
// True when the path names an existing file or folder.
bool pathExists(const std::wstring& path);
// Creates a folder and its missing parents; true when it exists afterwards.
bool createFolders(const std::wstring& path);

// Names of the entries of a folder (no "." or ".."), sorted so tests never see the file system's order.
std::vector<std::wstring> listFolder(const std::wstring& folder);

}  // namespace e2e
