// How the about window writes versions and which libraries it calls
// outdated. Library versions are in hundredths (239 = 2.39); 0 means the
// library is missing.
#pragma once

#include <cstdint>
#include <string>

namespace quibex {

// "Ver 2.39", with ".1.25" appended for sub-version 125; "not installed" for 0.
std::wstring LibraryVersionText(int version, int subVersion = 0);
// The LZH version written with three digits followed by the sub-version
// with three digits, read as one number (version 1.98, sub-version 204: 198204).
int64_t LhaCombinedVersion(int version, int subVersion);

// Older than the versions the program was written against.
bool LhaOutdated(int version, int subVersion);
bool ZipOutdated(int version);
bool CabOutdated(int version);
bool SevenZipOutdated(int version);
bool RarOutdated(int version);

// "1.25", or "1.25.3" when the revision is above 0.
std::wstring ProgramVersionText(int major, int minor, int revision);

}  // namespace quibex
