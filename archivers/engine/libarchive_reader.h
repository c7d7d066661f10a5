// 7z and RAR archives read through libarchive. libarchive only decodes: the
// member list, the choice of members, their names on disk and the status
// codes stay the engine's, so these formats behave like the others.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "archive.h"

namespace arc {

enum class LibarchiveFormat { SevenZip, Rar };

// The files of one archive in reading order: volume 1 first, then every
// further volume found. `owned` keeps alive the sources the reader opened
// itself; `missing` names volumes that should follow but were not found.
struct ArchiveVolumes {
    std::vector<ByteSource*> inOrder;
    std::vector<std::unique_ptr<ByteSource>> owned;
    std::vector<std::string> missing;
    // The file that would follow the last volume found: reported missing
    // when the data runs out before the archive's end.
    std::string possiblyMissing;
    // Per entry libarchive reports (every kind, in order): whether its header
    // carries an encryption record libarchive passes over. A member so marked
    // whose data then fails to decode fails as encrypted.
    std::vector<bool> encryptionRecords;
};

// Lists the archive; null with *error set when libarchive cannot read its
// first header. Members libarchive reports after a broken header are left
// out, and extraction reports that header's failure when it gets there.
std::unique_ptr<Archive> openWithLibarchive(LibarchiveFormat format, ArchiveVolumes volumes, Status* error);

// True when libarchive recognises the data and reads its first header.
bool libarchiveReads(LibarchiveFormat format, ByteSource& src);

}  // namespace arc
