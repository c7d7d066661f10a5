// Text rules of launching other programs, apart from the calls that launch
// them: replacing substrings, cleaning the shell's executable path, spotting
// this program in a path, and the command lines for the user's tools.
#pragma once

#include <string>

namespace quibex {

// Replaces `find` by `replacement`, searching from the 1-based `start` and
// continuing behind each inserted replacement, at most `count` times
// (-1 = no limit). Text before `start` is kept. Unchanged when nothing is found.
// `compareMode` 1 ignores case; anything else compares exactly.
std::wstring ReplaceText(const std::wstring& text, const std::wstring& find, const std::wstring& replacement,
                         int start = 1, int count = -1, int compareMode = 0);

// The shell's fixed-size result buffer as a path: NULs become spaces, then,
// while two spaces stand together, every pair shrinks to one and both ends
// are trimmed.
std::wstring CollapseExecutableBuffer(const std::wstring& buffer);

// True when "quibex.exe" occurs anywhere in `path`, ignoring case. A plain
// substring test: "myquibex.exe" counts too.
bool NamesQuibex(const std::wstring& path);

// Wraps a tool path in double quotes unless it both begins and ends with one.
std::wstring QuoteToolPath(const std::wstring& toolPath);

// `"tool" "file"` for the archiver tool and the editor.
std::wstring ToolCommandLine(const std::wstring& toolPath, const std::wstring& filePath);

// The print tool's command line: `param` (taken as typed) goes after the file
// when `paramAfterFile` is 1, else before it; an empty `param` is left out.
std::wstring PrintToolCommandLine(const std::wstring& toolPath, const std::wstring& filePath, const std::wstring& param,
                                  int paramAfterFile);

}  // namespace quibex
