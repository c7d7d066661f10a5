// Path text rules shared across the program. Pure string work; the routines
// that touch the file system are in paths.h.
#pragma once

#include <string>

namespace quibex {

// The whole argument text is one path: surrounding double quotes go, then one
// trailing "\". Returns the cleaned path.
std::wstring UnquotePath(const std::wstring& path);
// Removes the quotes only when the text both starts and ends with one.
std::wstring StripSurroundingQuotes(const std::wstring& text);
// Text after the last "\"; empty when there is none or the path ends with one.
std::wstring FileNameOf(const std::wstring& path);
// Text after the last "." anywhere in the path (a dot in a folder counts).
std::wstring ExtensionOf(const std::wstring& path);

// Splits a path into its root and the rest for LongPathName: a UNC root
// ("\\server\share") or everything up to and including the first ":".
// Returns false when a UNC path has no "\" after the server name.
bool SplitPathRoot(const std::wstring& path, std::wstring& root, std::wstring& rest);

std::wstring ToUpper(const std::wstring& text);
std::wstring ToLower(const std::wstring& text);
std::wstring TrimSpaces(const std::wstring& text);

}  // namespace quibex
