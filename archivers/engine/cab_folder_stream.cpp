// CFDATA walking. The block checksum covers the payload first and then the
// header fields after csum (cbData, cbUncomp and, for most writers, the
// reserved bytes); a zero csum means "not computed".
#include "cab_folder_stream.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace arc {
namespace {

uint64_t loadLe64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
    return v;
}

class StoredDecoder final : public CabBlockDecoder {
public:
    Status decodeBlock(const uint8_t* in, size_t inLen, uint8_t* out, size_t outLen) override {
        if (inLen != outLen) return Status::BrokenData;
        std::memcpy(out, in, outLen);
        return Status::Ok;
    }
};

}  // namespace

uint32_t cabChecksum(const uint8_t* data, size_t n, uint32_t seed) {
    // The sum XORs little-endian 32-bit words; XORing 64-bit words and then
    // folding the halves gives the same result with half the steps.
    uint64_t wide = 0;
    size_t i = 0;
    for (; i + 8 <= n; i += 8) wide ^= loadLe64(data + i);
    uint32_t sum = seed ^ static_cast<uint32_t>(wide) ^ static_cast<uint32_t>(wide >> 32);
    for (; i + 4 <= n; i += 4)
        sum ^= data[i] | (data[i + 1] << 8) | (data[i + 2] << 16) | (static_cast<uint32_t>(data[i + 3]) << 24);
    uint32_t tail = 0;
    for (; i < n; ++i) tail = (tail << 8) | data[i];
    return sum ^ tail;
}

const char* cabMethodName(const CabFolder& folder) {
    switch (folder.method()) {
    case kCabNone: return "none";
    case kCabMszip: return "mszip";
    case kCabQuantum: return "quantum";
    case kCabLzx: return "lzx";
    default: return "unknown";
    }
}

std::unique_ptr<CabBlockDecoder> makeCabFolderDecoder(const CabFolder& folder, Status* error) {
    std::unique_ptr<CabBlockDecoder> d;
    unsigned bits = folder.windowBits();
    switch (folder.method()) {
    case kCabNone: d = std::make_unique<StoredDecoder>(); break;
    case kCabMszip: d = makeMszipDecoder(); break;
    case kCabQuantum:
        if (bits >= 10 && bits <= 21) d = makeQuantumDecoder(bits);
        break;
    case kCabLzx:
        if (bits >= 15 && bits <= 21) d = makeLzxDecoder(bits);
        break;
    default: break;
    }
    if (!d) *error = Status::Method;
    return d;
}

CabFolderStream::CabFolderStream(std::vector<CabSegment> segments, bool continuesInMissingPart, uint64_t& budget)
    : segments_(std::move(segments)),
      missingNext_(continuesInMissingPart),
      budget_(budget),
      offset_(segments_.empty() ? 0 : segments_[0].folder->dataOffset),
      blocksLeft_(segments_.empty() ? 0 : segments_[0].folder->blockCount) {}

Status CabFolderStream::start() {
    Status st = Status::Ok;
    if (segments_.empty()) return Status::BrokenData;
    decoder_ = makeCabFolderDecoder(*segments_[0].folder, &st);
    if (!decoder_) return st;
    out_.resize(kCabMaxBlockOutput);
    return Status::Ok;
}

bool CabFolderStream::atEnd() const {
    if (missingNext_ || blocksLeft_ > 0) return false;
    for (size_t s = segment_ + 1; s < segments_.size(); ++s)
        if (segments_[s].folder->blockCount > 0) return false;
    return true;
}

bool CabFolderStream::nextSegment() {
    if (segment_ + 1 >= segments_.size()) return false;
    const CabFolder& f = *segments_[++segment_].folder;
    offset_ = f.dataOffset;
    blocksLeft_ = f.blockCount;
    return true;
}

Status CabFolderStream::readPart(Part* part, size_t* unpacked) {
    while (blocksLeft_ == 0)
        if (!nextSegment()) return missingNext_ ? Status::NotFindArcFile : Status::BrokenData;
    const CabSegment& seg = segments_[segment_];
    part->cab = seg.cab;
    part->headLen = kCabDataHeaderSize + seg.dir->dataReserve;
    uint8_t* h = part->head;
    const uint8_t* head = offset_ + part->headLen > seg.dir->cabinetSize ? nullptr : view(seg.cab, offset_, part->headLen);
    if (!head) return Status::BrokenData;
    std::memcpy(h, head, part->headLen);
    part->csum = h[0] | (h[1] << 8) | (h[2] << 16) | (static_cast<uint32_t>(h[3]) << 24);
    part->packed = h[4] | (h[5] << 8);
    *unpacked = h[6] | (h[7] << 8);
    part->payloadAt = offset_ + part->headLen;
    if (part->payloadAt + part->packed > seg.dir->cabinetSize) return Status::BrokenData;
    if (*unpacked > kCabMaxBlockOutput) return Status::BrokenData;
    if (part->headLen + part->packed > budget_) return Status::BrokenData;
    budget_ -= part->headLen + part->packed;
    offset_ = part->payloadAt + part->packed;
    --blocksLeft_;
    return Status::Ok;
}

const uint8_t* CabFolderStream::view(ByteSource* cab, uint64_t at, size_t n) {
    constexpr size_t kAhead = 512 * 1024;  // a payload is at most 65535 bytes: many blocks per read
    if (cab != aheadCab_ || at < aheadAt_ || at + n > aheadAt_ + aheadLen_) {
        if (ahead_.size() < std::max(kAhead, n)) ahead_.resize(std::max(kAhead, n));
        aheadCab_ = cab;
        aheadAt_ = at;
        aheadLen_ = cab->readAt(at, ahead_.data(), ahead_.size());
        if (aheadLen_ < n) return nullptr;
    }
    return ahead_.data() + (at - aheadAt_);
}

Status CabFolderStream::nextHeader(size_t* n) {
    *n = 0;
    parts_.clear();
    if (!decoder_) return Status::BrokenData;
    for (;;) {
        Part part;
        size_t unpacked = 0;
        Status st = readPart(&part, &unpacked);
        if (!ok(st)) return st;
        parts_.push_back(part);
        if (unpacked != 0) {
            unpacked_ = unpacked;
            break;
        }
        // The block goes on in the next cabinet; only the last block of a
        // cabinet's piece can, so elsewhere it points at data we cannot know.
        if (blocksLeft_ != 0) return Status::NotSupport;
        // No next piece: the set's next part is missing, or was never looked for.
        if (segment_ + 1 >= segments_.size()) return missingNext_ ? Status::NotFindArcFile : Status::NotSupport;
    }
    *n = unpacked_;
    return Status::Ok;
}

Status CabFolderStream::decodeBody(bool needed, const uint8_t** data) {
    *data = nullptr;
    const bool stored = segments_[0].folder->method() == kCabNone;
    size_t packed = 0;
    for (const Part& p : parts_) packed += p.packed;
    if (stored && packed != unpacked_) return Status::BrokenData;
    if (!needed && stored) return Status::Ok;
    // One part (the rule) is decoded where it lies in the read-ahead; the
    // parts of a split block are joined first.
    const uint8_t* payload = nullptr;
    if (parts_.size() > 1 && in_.size() < packed) in_.resize(packed);
    size_t at = 0;
    for (const Part& p : parts_) {
        const uint8_t* bytes = view(p.cab, p.payloadAt, p.packed);
        if (!bytes) return Status::BrokenData;
        if (p.csum != 0) {
            // Writers disagree on whether the per-block reserve is summed; either form is accepted.
            const uint32_t payloadSum = cabChecksum(bytes, p.packed, 0);
            if (cabChecksum(p.head + 4, p.headLen - 4, payloadSum) != p.csum &&
                cabChecksum(p.head + 4, 4, payloadSum) != p.csum)
                return Status::BrokenData;
        }
        if (parts_.size() == 1) {
            payload = bytes;
        } else {
            std::memcpy(in_.data() + at, bytes, p.packed);
            payload = in_.data();
        }
        at += p.packed;
    }
    if (stored) {  // hand out the payload itself, no copy
        *data = payload;
        return Status::Ok;
    }
    Status st = decoder_->decodeBlock(payload, packed, out_.data(), unpacked_);
    if (!ok(st)) return st;
    *data = out_.data();
    return Status::Ok;
}

}  // namespace arc
