// Which archive members count as texts and documents, and how member names
// split into folder and file name. Pure string rules.
#pragma once

#include <string>

namespace quibex {

// "HLP DOC" -> "*.HLP *.DOC"; runs of spaces count as one, empty gives empty.
std::wstring ExtensionsToPatterns(const std::wstring& list);
// True for "txt" (any case) or an extension found anywhere inside `txtType`,
// compared case-insensitively as a substring (so a missing extension counts
// whenever txtType is not empty).
bool IsTextFileName(const std::wstring& name, const std::wstring& txtType);
// Text after the last "\" ("/" counts as "\"); else after the last ":"; else the whole name.
std::wstring NamePartOf(const std::wstring& member);
// Text before the last "\" ("/" counts as "\"; one trailing "\" dropped first), no trailing "\".
std::wstring FolderPartOf(const std::wstring& member);

}  // namespace quibex
