// Cabinet directory parsing. Every field is read through SequentialReader,
// which stops at the end of the cabinet, so a header that claims more than the
// file holds ends in HeaderBroken instead of a read past the data.
//
// Where real cabinets differ from the published description: coffFiles is not
// always where the file entries are (see readCabDirectory); a file name may be
// empty; self-extracting stubs contain "MSCF" before the real header.
#include "cab_format.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace arc {
namespace {

uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t le32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Names and the previous/next cabinet strings hold at most 255 bytes plus the
// terminating NUL (the format's CB_MAX_FILENAME / CB_MAX_CABINET_NAME).
constexpr size_t kMaxStringBytes = 256;

bool readString(SequentialReader& in, std::string* out) {
    out->clear();
    for (size_t i = 0; i < kMaxStringBytes; ++i) {
        uint8_t b;
        if (!in.next(b)) return false;
        if (b == 0) return true;
        out->push_back(static_cast<char>(b));
    }
    return false;  // no terminator where one must be
}

enum class Fit { No, Truncated, Whole };

// Judges the header at `at` without trusting any of it.
Fit judgeHeader(ByteSource& src, uint64_t at) {
    uint8_t h[kCabHeaderSize];
    if (!src.readExact(at, h, sizeof h) || std::memcmp(h, "MSCF", 4) != 0) return Fit::No;
    uint32_t cabinetSize = le32(h + 8), filesOffset = le32(h + 16);
    uint16_t folders = le16(h + 26), files = le16(h + 28);
    if (h[24] != 3 || h[25] != 1) return Fit::No;  // only version 1.3 exists
    if (folders == 0 || files == 0) return Fit::No;
    if (filesOffset < kCabHeaderSize || filesOffset >= cabinetSize) return Fit::No;
    if (kCabHeaderSize + uint64_t(folders) * 8 > cabinetSize) return Fit::No;
    if (filesOffset + uint64_t(files) * 16 > cabinetSize) return Fit::No;
    return at + cabinetSize <= src.size() ? Fit::Whole : Fit::Truncated;
}

}  // namespace

bool findCabinet(ByteSource& src, uint64_t* start, uint64_t from, bool acceptTruncated) {
    // Scan in chunks that overlap by 3 bytes so a signature across a chunk
    // boundary is still seen.
    constexpr size_t kChunk = 64 * 1024;
    std::vector<uint8_t> buf(kChunk);
    const uint64_t total = src.size();
    bool haveTruncated = false;
    uint64_t truncatedAt = 0;
    for (uint64_t base = from; base + 4 <= total; base += kChunk - 3) {
        size_t got = src.readAt(base, buf.data(), kChunk);
        if (got < 4) break;
        for (size_t i = 0; i + 4 <= got; ++i) {
            const void* hit = std::memchr(buf.data() + i, 'M', got - 3 - i);
            if (!hit) break;
            i = static_cast<const uint8_t*>(hit) - buf.data();
            if (std::memcmp(buf.data() + i, "MSCF", 4) != 0) continue;
            Fit fit = judgeHeader(src, base + i);
            if (fit == Fit::Whole) {
                *start = base + i;
                return true;
            }
            if (fit == Fit::Truncated && acceptTruncated && !haveTruncated) {
                haveTruncated = true;
                truncatedAt = base + i;
            }
        }
        if (got < kChunk) break;
    }
    if (haveTruncated) *start = truncatedAt;
    return haveTruncated;
}

Status readCabDirectory(ByteSource& cab, CabDirectory* dir) {
    uint8_t h[kCabHeaderSize];
    if (!cab.readExact(0, h, sizeof h) || std::memcmp(h, "MSCF", 4) != 0) return Status::NotArcFile;
    const uint64_t limit = std::min<uint64_t>(cab.size(), le32(h + 8));
    dir->cabinetSize = static_cast<uint32_t>(limit);
    const uint32_t filesOffset = le32(h + 16);
    const uint16_t folderCount = le16(h + 26), fileCount = le16(h + 28);
    dir->flags = le16(h + 30);
    dir->setId = le16(h + 32);
    dir->setIndex = le16(h + 34);

    auto in = std::make_unique<SequentialReader>(cab, kCabHeaderSize, limit - std::min<uint64_t>(limit, kCabHeaderSize));
    unsigned folderReserve = 0;
    if (dir->flags & 0x0004) {
        uint8_t r[4];
        if (in->read(r, 4) != 4) return Status::HeaderBroken;
        uint16_t headerReserve = le16(r);
        folderReserve = r[2];
        dir->dataReserve = r[3];
        for (unsigned i = 0; i < headerReserve; ++i) {
            uint8_t skip;
            if (!in->next(skip)) return Status::HeaderBroken;
        }
    }
    // Names of the neighbouring cabinets, each followed by its disk's label.
    std::string disk;
    if (dir->hasPrevious() && (!readString(*in, &dir->previousName) || !readString(*in, &disk)))
        return Status::HeaderBroken;
    if (dir->hasNext() && (!readString(*in, &dir->nextName) || !readString(*in, &disk))) return Status::HeaderBroken;

    if (folderCount == 0 || fileCount == 0) return Status::HeaderBroken;
    dir->folders.clear();
    dir->folders.reserve(folderCount);  // 16-bit count; each entry is at least 8 bytes of the file
    for (unsigned i = 0; i < folderCount; ++i) {
        uint8_t f[8];
        if (in->read(f, 8) != 8) return Status::HeaderBroken;
        CabFolder folder;
        folder.dataOffset = le32(f);
        folder.blockCount = le16(f + 4);
        folder.compression = le16(f + 6);
        for (unsigned k = 0; k < folderReserve; ++k) {
            uint8_t skip;
            if (!in->next(skip)) return Status::HeaderBroken;
        }
        dir->folders.push_back(folder);
    }

    // The file entries are read where the folders end. Writers put them there
    // and coffFiles says the same; where the two disagree (hidden-file tricks)
    // the reference tools also list what follows the folders.
    if (filesOffset >= limit) return Status::HeaderBroken;
    dir->files.clear();
    dir->files.reserve(fileCount);  // 16-bit count; each entry is at least 17 bytes of the file
    for (unsigned i = 0; i < fileCount; ++i) {
        uint8_t e[16];
        if (in->read(e, 16) != 16) return Status::HeaderBroken;
        CabFile file;
        file.size = le32(e);
        file.folderOffset = le32(e + 4);
        file.folderIndex = le16(e + 8);
        file.date = le16(e + 10);
        file.time = le16(e + 12);
        file.attributes = le16(e + 14);
        if (!readString(*in, &file.rawName)) return Status::HeaderBroken;
        dir->files.push_back(std::move(file));
    }
    return Status::Ok;
}

}  // namespace arc
