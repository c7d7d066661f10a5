// Finding and reading a ZIP central directory, also when the archive sits
// behind a self-extracting stub.
//
// Where real archives differ from the published format description:
// - Self-extracting programs made by appending an archive to a stub keep
//   offsets counted from the archive's own start; programs passed through
//   `zip -A` (and most SFX builders) count from the file start. The end record
//   tells neither, so the reader compares where the central directory should
//   end with where it really ends and shifts every offset by the difference.
// - The entry count in the end record is 16 bits wide and some writers let it
//   wrap past 65535 without writing ZIP64 records; entries are therefore read
//   until the directory's byte range or its signatures run out, never by count.
#pragma once

#include <cstdint>
#include <vector>

#include "archive.h"
#include "zip_fields.h"

namespace arc::zip {

struct Entry {
    Member member;
    uint64_t localOffset = 0;  // local header position in the source, shift applied
    uint64_t storedOffset = 0; // the offset as stored, without the shift
    uint16_t flags = 0;
    uint16_t method = 0;
    bool cutOff = false;       // data runs past the end of a truncated file
    AesExtra aes;              // method 99 only
};

struct Directory {
    std::vector<Entry> entries;
    int64_t shift = 0;  // added to every stored offset (stub length for unadjusted SFX)
};

// Locates the end record and reads the central directory into *out.
// Returns Ok, NotArcFile when no end record exists, or the reason the
// directory could not be read.
Status readDirectory(ByteSource& src, Directory* out);

// Only locates the end record and checks that a central directory is where it
// says (what CheckArchive's quick mode needs).
bool directoryLocatable(ByteSource& src);

}  // namespace arc::zip
