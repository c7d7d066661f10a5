// The program's own version record (the VERSIONINFO resource).
#pragma once

#include <string>

namespace quibex {

struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;  // the third number of FILEVERSION (the build's patch version)
    std::wstring copyright;
};

// Read from the running executable; zeros and an empty copyright when it has none.
ProgramVersion ReadProgramVersion();

}  // namespace quibex
