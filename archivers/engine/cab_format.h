// Cabinet (MSCF) directory: header, folder and file entries, and the search
// for a cabinet inside a self-extracting program. Offsets here count from the
// cabinet's first byte; the caller reads through a SliceSource at `start`.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "byte_source.h"
#include "status.h"

namespace arc {

constexpr size_t kCabHeaderSize = 36;        // fixed part of CFHEADER
constexpr size_t kCabDataHeaderSize = 8;     // csum, cbData, cbUncomp
constexpr size_t kCabMaxBlockOutput = 32768; // uncompressed bytes one CFDATA block may declare

enum CabCompression : unsigned { kCabNone = 0, kCabMszip = 1, kCabQuantum = 2, kCabLzx = 3 };

// iFolder values of file entries whose data lies partly in another cabinet.
constexpr uint16_t kCabContinuedFromPrev = 0xFFFD;
constexpr uint16_t kCabContinuedToNext = 0xFFFE;
constexpr uint16_t kCabContinuedPrevAndNext = 0xFFFF;

constexpr uint16_t kCabAttrNameIsUtf8 = 0x80;

struct CabFolder {
    uint32_t dataOffset = 0;  // first CFDATA block
    uint16_t blockCount = 0;
    uint16_t compression = 0; // raw typeCompress: method in bits 0-3, window bits in 8-12
    unsigned method() const { return compression & 0x0F; }
    unsigned windowBits() const { return (compression >> 8) & 0x1F; }
};

struct CabFile {
    std::string rawName;     // as stored, without the NUL
    uint32_t size = 0;
    uint32_t folderOffset = 0;
    uint16_t folderIndex = 0; // raw iFolder, may be a continuation marker
    uint16_t date = 0, time = 0, attributes = 0;
};

struct CabDirectory {
    uint32_t cabinetSize = 0; // bytes of the cabinet actually present (cbCabinet clipped to the source)
    uint16_t flags = 0;
    uint16_t setId = 0;       // the same in every cabinet of a set
    uint16_t setIndex = 0;    // iCabinet: 0 for the first cabinet of a set
    std::string previousName, nextName;  // neighbouring cabinets' file names, as stored
    uint8_t dataReserve = 0;  // cbCFData: bytes after each CFDATA header
    std::vector<CabFolder> folders;
    std::vector<CabFile> files;
    bool hasPrevious() const { return flags & 0x0001; }
    bool hasNext() const { return flags & 0x0002; }
};

// Offset of the first "MSCF" at or after `from` whose header is consistent
// with the source (version 1.3, sizes and counts that fit). If none fits
// entirely and `acceptTruncated` is set, the first one that is merely
// truncated, so that a cut-off download still lists. Returns false when there
// is no such cabinet.
bool findCabinet(ByteSource& src, uint64_t* start, uint64_t from = 0, bool acceptTruncated = true);

// Reads the directory of the cabinet at the start of `cab`.
Status readCabDirectory(ByteSource& cab, CabDirectory* dir);

}  // namespace arc
