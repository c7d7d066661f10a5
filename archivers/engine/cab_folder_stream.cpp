// CFDATA walking. The block checksum covers the payload first and then the
// header fields after csum (cbData, cbUncomp and, for most writers, the
// reserved bytes); a zero csum means "not computed".
#include "cab_folder_stream.h"

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

CabFolderStream::CabFolderStream(ByteSource& cab, const CabDirectory& dir, const CabFolder& folder,
                                 uint64_t& budget)
    : cab_(cab), dir_(dir), folder_(folder), budget_(budget), offset_(folder.dataOffset), blocksLeft_(folder.blockCount) {}

Status CabFolderStream::start() {
    Status st = Status::Ok;
    decoder_ = makeCabFolderDecoder(folder_, &st);
    if (!decoder_) return st;
    in_.resize(65535);
    out_.resize(kCabMaxBlockOutput);
    return Status::Ok;
}

Status CabFolderStream::nextHeader(size_t* n) {
    *n = 0;
    if (blocksLeft_ == 0 || !decoder_) return Status::BrokenData;
    headLen_ = kCabDataHeaderSize + dir_.dataReserve;
    if (offset_ + headLen_ > dir_.cabinetSize || !cab_.readExact(offset_, head_, headLen_)) return Status::BrokenData;
    csum_ = head_[0] | (head_[1] << 8) | (head_[2] << 16) | (static_cast<uint32_t>(head_[3]) << 24);
    packed_ = head_[4] | (head_[5] << 8);
    unpacked_ = head_[6] | (head_[7] << 8);
    payloadAt_ = offset_ + headLen_;
    if (payloadAt_ + packed_ > dir_.cabinetSize) return Status::BrokenData;
    if (unpacked_ == 0) return Status::NotSupport;  // the rest of this block is in the next cabinet
    if (unpacked_ > kCabMaxBlockOutput) return Status::BrokenData;
    if (headLen_ + packed_ > budget_) return Status::BrokenData;
    budget_ -= headLen_ + packed_;
    offset_ = payloadAt_ + packed_;
    --blocksLeft_;
    *n = unpacked_;
    return Status::Ok;
}

Status CabFolderStream::decodeBody(bool needed, const uint8_t** data) {
    *data = nullptr;
    const bool stored = folder_.method() == kCabNone;
    if (stored && packed_ != unpacked_) return Status::BrokenData;
    if (!needed && stored) return Status::Ok;
    if (!cab_.readExact(payloadAt_, in_.data(), packed_)) return Status::BrokenData;
    if (csum_ != 0) {
        // Writers disagree on whether the per-block reserve is summed; either form is accepted.
        const uint32_t payloadSum = cabChecksum(in_.data(), packed_, 0);
        if (cabChecksum(head_ + 4, headLen_ - 4, payloadSum) != csum_ &&
            cabChecksum(head_ + 4, 4, payloadSum) != csum_)
            return Status::BrokenData;
    }
    if (stored) {  // hand out the payload itself, no copy
        *data = in_.data();
        return Status::Ok;
    }
    Status st = decoder_->decodeBlock(in_.data(), packed_, out_.data(), unpacked_);
    if (!ok(st)) return st;
    *data = out_.data();
    return Status::Ok;
}

}  // namespace arc
