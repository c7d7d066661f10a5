// Text and path helpers for end-to-end tests: code-page conversion, file
// bytes, and mapping host paths into Wine's view of the file system.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace e2e {

// The code page of the programs under test (Shift-JIS, as Wine's ja_JP locale uses).
inline constexpr unsigned kCp932 = 932;

// Converts text in an explicit code page (CP_UTF8 = 65001, 932, ...) to UTF-16; invalid bytes become U+FFFD.
std::wstring widen(std::string_view text, unsigned codePage);
// Converts UTF-16 to an explicit code page; characters the page lacks become '?'.
std::string narrow(std::wstring_view text, unsigned codePage);
// UTF-8 -> UTF-16.
std::wstring fromUtf8(std::string_view utf8);
// UTF-16 -> UTF-8 (for gtest messages and comparisons with u8 literals).
std::string toUtf8(std::wstring_view text);
// UTF-8 -> CP932 bytes.
std::string utf8ToCp932(std::string_view utf8);
// CP932 bytes -> UTF-8.
std::string cp932ToUtf8(std::string_view cp932);

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

}  // namespace e2e
