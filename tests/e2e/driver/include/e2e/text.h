// Code-page conversion for end-to-end tests: the programs keep UTF-16 inside,
// write CP932 files, and gtest prints UTF-8.
#pragma once

#include <string>
#include <string_view>

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

}  // namespace e2e
