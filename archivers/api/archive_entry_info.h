// The per-member record the archiver libraries' listing routines fill, as the
// family's C interface lays it out: 558 bytes, packed, the same in the 32-
// and the 64-bit libraries. One definition for the libraries, their callers
// and the tests.
#pragma once

#include <cstddef>
#include <cstdint>

namespace archiver_api {

#pragma pack(push, 1)
struct ArchiveEntryInfo {
    uint32_t dwOriginalSize;
    uint32_t dwCompressedSize;
    uint32_t dwCRC;
    uint32_t uFlag;
    uint32_t uOSType;
    uint16_t wRatio;  // per mille
    uint16_t wDate;   // DOS date
    uint16_t wTime;   // DOS time
    char szFileName[513];
    char dummy1[3];
    char szAttribute[8];
    char szMode[8];
};
#pragma pack(pop)

static_assert(sizeof(ArchiveEntryInfo) == 558, "the libraries write exactly 558 bytes");
static_assert(offsetof(ArchiveEntryInfo, wRatio) == 20 && offsetof(ArchiveEntryInfo, wTime) == 24);
static_assert(offsetof(ArchiveEntryInfo, szFileName) == 26 && offsetof(ArchiveEntryInfo, dummy1) == 539);
static_assert(offsetof(ArchiveEntryInfo, szAttribute) == 542 && offsetof(ArchiveEntryInfo, szMode) == 550);

}  // namespace archiver_api
