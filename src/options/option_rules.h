// Rules of the main options window that need no window: the limit of texts
// as typed, and the archiver tool that must not be Quibex itself.
#pragma once

#include <string>

namespace quibex {

// Whether a typed character reaches the limit box: the digits and Backspace.
bool OpenMaxAcceptsChar(wchar_t c);
// The limit a box's text stands for: its leading digits (none count as 0),
// raised to 1 and lowered to 10.
int OpenMaxFromText(const std::wstring& text);

// True when `path` names Quibex.exe itself (its file name, in any case).
bool IsQuibexItself(const std::wstring& path);
// Where a browse dialog starts for a box holding `content`: its trimmed text
// without the file name (empty when that leaves nothing).
std::wstring BrowseFolderOf(const std::wstring& content);

}  // namespace quibex
