// Opening one of the archive's other documents (help files, HTML pages...):
// the member is extracted into the work folder once, a ".hlp" with its
// ".cnt" contents file, and opened with its association.
#pragma once

#include <cstdint>
#include <string>

#include "archive/opened_archive.h"

namespace quibex {

// A document of `archive`; `folder` is the entry's Folder, or empty for a
// member at the top. Returns -1 when the document was opened, the library's
// code when extraction failed, 0 when opening failed; each failure shows its
// message.
int32_t OpenDocumentFile(const OpenedArchive& archive, const std::wstring& folder, const DocumentEntry& entry);

// The member path the libraries are given: folder and name, "\" as "/".
std::wstring DocumentMemberPath(const std::wstring& folder, const std::wstring& name);
// The contents file of a help file: MANUAL.HLP -> MANUAL.cnt; empty when
// the name does not end in ".hlp" (any case).
std::wstring HelpContentsName(const std::wstring& name);

}  // namespace quibex
