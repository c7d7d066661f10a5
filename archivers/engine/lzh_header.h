// Parsing of one LZH member header (levels 0 to 3) at a given offset.
#pragma once

#include <cstdint>

#include "archive.h"

namespace arc {

struct LzhEntry {
    Member member;
    int level = 0;
    uint64_t headerOffset = 0;
    uint64_t dataOffset = 0;  // first packed byte
    uint64_t nextOffset = 0;  // where the next header starts
    // LHARK writes its own, incompatible algorithm as "-lh7-"; its level-1
    // headers give the OS as ' ' where every LHA program writes a letter.
    bool lharkMethod = false;
};

enum class LzhHeaderKind {
    Member,  // `entry` is filled
    End,     // end of archive: a 0 byte, end of file, or bytes that are no header
};

// Reads the header at `pos`. Returns Ok with *kind telling what was found, or
// HeaderCrc / HeaderBroken / UnknownLevel / UnexpectedEof for a header that
// has the shape of one but is damaged.
Status lzhReadHeader(ByteSource& src, uint64_t pos, LzhEntry& entry, LzhHeaderKind* kind);

// Offset of the first valid header at or after `from` within the first
// `limit` bytes (self-extracting programs), or UINT64_MAX.
uint64_t lzhFindFirstHeader(ByteSource& src, uint64_t from, uint64_t limit);

}  // namespace arc
