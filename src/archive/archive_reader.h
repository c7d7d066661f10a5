// The reader: one library command extracts the texts into the work folder and
// the documents are listed. What to do with them (the viewer, the editor, the
// no-text reaction) is decided by the caller.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "archive/opened_archive.h"
#include "core/settings.h"

namespace quibex {

// Extracts the texts into `workFolder` (ending with "\\") with the library
// of the archive's kind, `owner` owning the library's windows, and lists the
// documents. The texts are only what this extraction wrote, in the folder's
// order. The please-wait window goes before any message and when done.
ArchiveContents ReadArchive(const OpenedArchive& archive, const Settings& settings, const std::wstring& workFolder,
                            HWND owner);

// The non-text documents of the archive that match `patterns`.
std::vector<DocumentEntry> ListDocuments(ReaderKind kind, const std::wstring& path, const std::wstring& patterns);

// A member name from the listing as a document entry.
DocumentEntry DocumentEntryOf(const std::wstring& memberName);

}  // namespace quibex
