// Which library reads the archive: plain archives by their extension, a
// self-extracting program by asking the libraries in a fixed order.
#pragma once

#include <string>

namespace quibex {

// Sets ArchiveKind (and CabArchivePath for a carved cabinet). On failure the
// message has been shown and the program must end: returns false.
bool DetectArchiveKind();

// Cuts the cabinet after the last "MSCF" of the program into CabWorkFolder.
bool FindCabInExe(const std::wstring& path);

}  // namespace quibex
