// The readers: one library command extracts the texts into the work folder,
// the documents are listed, then the viewer, the editor or the no-text
// reaction takes over.
#pragma once

#include <string>
#include <vector>

#include "archive/reader_family.h"
#include "core/app_state.h"

namespace quibex {

// Each returns true when something was shown or opened.
bool ReadLzhArchive();
bool ReadZipArchive();
bool ReadCabArchive();

// Listers of the non-text documents; they fill App().Documents and return the count.
int ListLzhDocuments(const std::wstring& path, const std::wstring& patterns);
int ListZipDocuments(const std::wstring& path, const std::wstring& patterns);
int ListCabDocuments(const std::wstring& path, const std::wstring& patterns);

// Names of the plain files in a folder (hidden and system ones too), in the
// order the file system returns them.
std::vector<std::wstring> EnumerateWorkFolder(const std::wstring& folder);

// A member name from the listing as a document entry.
DocumentEntry DocumentEntryOf(const std::wstring& memberName);

}  // namespace quibex
