#include "zip_directory.h"

#include <algorithm>
#include <memory>

#include "zip_fields.h"
#include "zip_format.h"

namespace arc::zip {

namespace {

struct Location {
    uint64_t cdStart = 0;  // absolute, shift applied
    uint64_t cdSize = 0;
    uint64_t claimedCount = 0;
    int64_t shift = 0;
};

uint32_t sigAt(ByteSource& src, uint64_t pos) {
    uint8_t b[4];
    return src.readExact(pos, b, 4) ? le32(b) : 0;
}

// ZIP64 end record for the end record at endPos, or false when there is none.
// Fills the 64-bit directory fields and where the record really is.
bool readEnd64(ByteSource& src, uint64_t endPos, uint64_t* recordPos, uint64_t* count, uint64_t* cdSize,
               uint64_t* cdOffset) {
    if (endPos < kEnd64LocatorSize) return false;
    uint8_t loc[kEnd64LocatorSize];
    uint64_t locPos = endPos - kEnd64LocatorSize;
    if (!src.readExact(locPos, loc, sizeof loc) || le32(loc) != kEnd64LocatorSig) return false;
    // The locator's offset is right for plain archives and adjusted SFX; an
    // unadjusted stub+archive puts the record elsewhere, but it almost always
    // sits directly before the locator, so try there next.
    uint64_t candidates[2] = {le64(loc + 8), locPos >= kEnd64MinSize ? locPos - kEnd64MinSize : UINT64_MAX};
    for (uint64_t pos : candidates) {
        uint8_t rec[kEnd64MinSize];
        if (pos == UINT64_MAX || pos >= locPos || !src.readExact(pos, rec, sizeof rec) || le32(rec) != kEnd64Sig)
            continue;
        *recordPos = pos;
        *count = le64(rec + 32);
        *cdSize = le64(rec + 40);
        *cdOffset = le64(rec + 48);
        return true;
    }
    return false;
}

// Interprets the end record at endPos (bytes in `rec`); false when its
// directory is not where it claims, under either offset convention.
bool resolve(ByteSource& src, uint64_t endPos, const uint8_t* rec, Location* out) {
    const uint64_t fileSize = src.size();
    uint64_t count = le16(rec + 10);
    uint64_t cdSize = le32(rec + 12);
    uint64_t cdOffset = le32(rec + 16);
    uint64_t cdEnd = endPos;  // where the directory really ends
    uint64_t recordPos, count64, size64, offset64;
    if (readEnd64(src, endPos, &recordPos, &count64, &size64, &offset64)) {
        count = count64;
        cdSize = size64;
        cdOffset = offset64;
        cdEnd = recordPos;
    }
    if (cdSize > cdEnd || cdOffset > fileSize) return false;
    int64_t shift = static_cast<int64_t>(cdEnd - cdSize) - static_cast<int64_t>(cdOffset);
    const int64_t shifts[2] = {shift, 0};
    for (int64_t s : shifts) {
        if (s < 0 && static_cast<uint64_t>(-s) > cdOffset) continue;
        uint64_t start = cdOffset + s;
        if (start > cdEnd || cdSize > cdEnd - start) continue;
        if (cdSize > 0 && sigAt(src, start) != kCentralSig) continue;
        if (cdSize == 0 && count != 0) continue;
        out->cdStart = start;
        out->cdSize = cdSize;
        out->claimedCount = count;
        out->shift = s;
        return true;
    }
    return false;
}

// Scans back from the end for the end record. Candidates whose comment
// reaches exactly to the end of the file are preferred; then any whose comment
// fits (archives with trailing bytes).
Status locate(ByteSource& src, Location* out) {
    const uint64_t fileSize = src.size();
    if (fileSize < kEndSize) return Status::NotArcFile;
    size_t tailLen = static_cast<size_t>(std::min<uint64_t>(fileSize, kMaxEndSearch));
    uint64_t tailStart = fileSize - tailLen;
    std::vector<uint8_t> tail(tailLen);
    if (!src.readExact(tailStart, tail.data(), tailLen)) return Status::CannotRead;
    bool sawEnd = false;
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = tailLen - kEndSize + 1; i-- > 0;) {
            if (le32(&tail[i]) != kEndSig) continue;
            sawEnd = true;
            size_t commentEnd = i + kEndSize + le16(&tail[i + 20]);
            bool exact = commentEnd == tailLen;
            if (pass == 0 ? !exact : (exact || commentEnd > tailLen)) continue;
            if (resolve(src, tailStart + i, &tail[i], out)) return Status::Ok;
        }
    }
    if (sawEnd) return Status::HeaderBroken;
    // A file that starts like an archive but lost its end is a cut-off archive.
    return sigAt(src, 0) == kLocalSig ? Status::UnexpectedEof : Status::NotArcFile;
}

}  // namespace

bool directoryLocatable(ByteSource& src) {
    Location loc;
    return locate(src, &loc) == Status::Ok;
}

Status readDirectory(ByteSource& src, Directory* out) {
    Location loc;
    Status st = locate(src, &loc);
    if (!ok(st)) return st;
    out->entries.clear();
    out->shift = loc.shift;
    // The smallest header is 46 bytes, so the directory's size bounds the
    // count whatever the end record claims.
    out->entries.reserve(static_cast<size_t>(std::min<uint64_t>(loc.claimedCount, loc.cdSize / kCentralHeaderSize)));

    auto reader = std::make_unique<SequentialReader>(src, loc.cdStart, loc.cdSize);
    std::vector<uint8_t> var;  // name + extra + comment, at most 3 * 64 KiB
    while (reader->remaining() >= kCentralHeaderSize) {
        uint8_t h[kCentralHeaderSize];
        if (reader->read(h, sizeof h) != sizeof h || le32(h) != kCentralSig) break;
        size_t nameLen = le16(h + 28), extraLen = le16(h + 30), commentLen = le16(h + 32);
        var.resize(nameLen + extraLen + commentLen);
        if (reader->read(var.data(), var.size()) != var.size()) break;
        const uint8_t* name = var.data();
        const uint8_t* extra = var.data() + nameLen;

        Entry e;
        e.flags = le16(h + 8);
        e.method = le16(h + 10);
        Member& m = e.member;
        m.method = methodName(e.method);
        m.dosTime = le16(h + 12);
        m.dosDate = le16(h + 14);
        m.crc = le32(h + 16);
        m.packedSize = le32(h + 20);
        m.size = le32(h + 24);
        uint64_t offset = le32(h + 42);
        applyZip64(extra, extraLen, &m.size, &m.packedSize, &offset);
        e.storedOffset = offset;
        // An offset the shift would move below zero stays out of the file.
        if (loc.shift < 0 && offset < static_cast<uint64_t>(-loc.shift))
            e.localOffset = UINT64_MAX;
        else
            e.localOffset = offset + loc.shift;
        const uint8_t host = static_cast<uint8_t>(le16(h + 4) >> 8);
        m.name = decodeName(name, nameLen, e.flags, host, extra, extraLen);
        m.attributes = dosAttributes(host, le32(h + 38));
        m.isFolder = !m.name.empty() && m.name.back() == '/';
        m.encrypted = (e.flags & (kFlagEncrypted | kFlagStrongEncryption)) || e.method == kMethodAes;
        if (e.method == kMethodAes) readAesExtra(extra, extraLen, &e.aes);
        out->entries.push_back(std::move(e));
    }
    if (out->entries.empty() && loc.claimedCount != 0) return Status::HeaderBroken;
    return Status::Ok;
}

}  // namespace arc::zip
