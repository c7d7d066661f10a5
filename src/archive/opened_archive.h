// What moves along the read path, as values: the archive detection found, and
// what the reader found in it. The viewer is built from these two.
#pragma once

#include <string>
#include <vector>

#include "archive/reader_family.h"

namespace quibex {

struct OpenedArchive {
    ReaderKind kind = ReaderKind::Lzh;
    bool selfExtracting = false;  // an ".exe" carrying the archive
    std::wstring path;            // the file the user gave
    std::wstring libraryPath;     // what the library reads: `path`, or the cabinet cut out of a self-extracting program
    std::wstring extension;       // upper-case extension of `path` ("LZH", "EXE", ...)
};

struct DocumentEntry {
    std::wstring Name;
    std::wstring Folder;  // "\" for a member at the top, else "a\b\"
};

enum class ReadVerdict {
    Failed,  // the library reported an error; its message has been shown
    NoText,  // neither a matching text nor a document
    Found,   // texts, documents, or both
};

struct ArchiveContents {
    ReadVerdict verdict = ReadVerdict::Failed;
    std::vector<std::wstring> texts;  // names this extraction wrote into the work folder, in the folder's order
    std::vector<DocumentEntry> documents;
};

}  // namespace quibex
