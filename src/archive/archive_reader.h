// The reader: one library command extracts the texts into the work folder and
// the documents are listed. What to do with them (the viewer, the editor, the
// no-text reaction) is decided by the caller.
#pragma once

#include <string>
#include <vector>

#include "archive/reader_family.h"
#include "core/app_state.h"

namespace quibex {

enum class ReadVerdict {
    Failed,  // the library reported an error; its message has been shown
    NoText,  // neither a matching text nor a document
    Found,   // texts in ExtractedFiles, documents in Documents, or both
};

struct ReadOutcome {
    ReadVerdict verdict = ReadVerdict::Failed;
    std::wstring inputPath;  // the archive the library read, unquoted
};

// Extracts with the library of `kind`. Fills AppState: ExtractedFiles (only
// what this extraction wrote, in the folder's order), CurrentFile, Documents.
ReadOutcome ReadArchive(ReaderKind kind);

// Lists the non-text documents into App().Documents; returns the count.
int ListDocuments(ReaderKind kind, const std::wstring& path, const std::wstring& patterns);

// Names of the plain files in a folder (hidden and system ones too), in the
// order the file system returns them.
std::vector<std::wstring> EnumerateWorkFolder(const std::wstring& folder);

// A member name from the listing as a document entry.
DocumentEntry DocumentEntryOf(const std::wstring& memberName);

}  // namespace quibex
