// The archiver libraries take ANSI text in the system code page. A path that
// code page cannot represent (a Korean folder name on a Japanese system, an
// emoji) is handed over in its short 8.3 form instead, which is always ANSI,
// so that every file Windows can open, the libraries can read too.
#pragma once

#include <string>

namespace quibex {

// Converts to the system code page; unrepresentable characters become '?'.
std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& text);
bool RepresentableInAnsi(const std::wstring& text);
// The path itself when the code page can hold it, else its short form (a
// trailing "\" is kept). Falls back to the path when no short form exists.
std::wstring PathForLibrary(const std::wstring& path);

}  // namespace quibex
