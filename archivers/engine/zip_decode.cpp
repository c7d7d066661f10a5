#include "zip_decode.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstring>

#include "zip_format.h"

namespace arc::zip {

namespace {

// Slices in which a whole-member result goes to the sink, so progress moves.
constexpr size_t kSinkSlice = 1u << 20;

// Read size for stored members.
constexpr size_t kStoredChunk = 256 * 1024;

}  // namespace

uint32_t crc32Update(uint32_t crc, const uint8_t* p, size_t n) {
    return static_cast<uint32_t>(libdeflate_crc32(crc, p, n));
}

bool MemberOutput::write(const uint8_t* data, size_t n) {
    // More output than the header promised: stop before the sink receives a
    // byte beyond the promise.
    if (n > limit_ - produced_) {
        failure_ = Status::BrokenData;
        return false;
    }
    crc_ = crc32Update(crc_, data, n);
    if (!sink_.write(data, n)) {
        failure_ = Status::CannotWrite;
        return false;
    }
    produced_ += n;
    return true;
}

bool methodDecoded(uint16_t method) {
    switch (method) {
    case kMethodStored:
    case kMethodDeflate:
    case kMethodDeflate64:
    case kMethodBzip2:
    case kMethodLzma:
    case kMethodZstd:
    case kMethodXz: return true;
    default: return false;
    }
}

MemberDecoder::MemberDecoder() = default;
MemberDecoder::~MemberDecoder() {
    if (whole_) libdeflate_free_decompressor(whole_);
}

MethodDecoder* MemberDecoder::decoderFor(uint16_t method) {
    auto& d = decoders_[method];
    if (!d) {
        switch (method) {
        case kMethodDeflate: d = makeDeflateStreamDecoder(); break;
        case kMethodDeflate64: d = makeDeflate64Decoder(); break;
        case kMethodBzip2: d = makeBzip2Decoder(); break;
        case kMethodLzma: d = makeLzmaDecoder(); break;
        case kMethodZstd: d = makeZstdDecoder(); break;
        case kMethodXz: d = makeXzDecoder(); break;
        default: break;
        }
    }
    return d.get();
}

Status MemberDecoder::decode(uint16_t method, ByteSource& src, DataRange in, const MemberFacts& facts,
                             std::optional<uint32_t> crc, OutputSink& sink) {
    if (method == kMethodStored) return stored(src, in, facts.size, crc, sink);
    Status result = Status::Ok;
    if (method == kMethodDeflate && wholeDeflate(src, in, facts.size, &result, crc, sink)) return result;
    MethodDecoder* decoder = decoderFor(method);
    if (!decoder) return Status::Method;
    auto reader = std::make_unique<SequentialReader>(src, in.offset, in.packed);
    MemberOutput out(sink, facts.size);
    Status st = decoder->decode(*reader, facts, out);
    if (st == Status::CannotWrite && !ok(out.failure())) st = out.failure();
    if (!ok(st)) return st;
    if (out.produced() != facts.size) return Status::BrokenData;
    return !crc || out.crc() == *crc ? Status::Ok : Status::FileCrc;
}

bool MemberDecoder::wholeDeflate(ByteSource& src, DataRange in, uint64_t size, Status* result,
                                 std::optional<uint32_t> crc, OutputSink& sink) {
    // Stored deflate blocks add 5 bytes per 64 KiB; anything packed larger
    // than that allows is left to the streaming path to judge.
    if (size > kWholeDeflateLimit || in.packed > size + size / 8192 + 1024) return false;
    if (!whole_ && !(whole_ = libdeflate_alloc_decompressor())) return false;
    const size_t packedLen = static_cast<size_t>(in.packed), unpackedLen = static_cast<size_t>(size);
    uint8_t* packed = packed_.room(packedLen);
    uint8_t* unpacked = unpacked_.room(unpackedLen);
    if (!src.readExact(in.offset, packed, packedLen)) return false;
    size_t produced = 0;
    if (libdeflate_deflate_decompress(whole_, packed, packedLen, unpacked, unpackedLen, &produced) !=
            LIBDEFLATE_SUCCESS ||
        produced != size)
        return false;
    if (crc && crc32Update(0, unpacked, unpackedLen) != *crc) {
        *result = Status::FileCrc;
        return true;
    }
    for (size_t at = 0; at < unpackedLen; at += kSinkSlice) {
        if (!sink.write(unpacked + at, std::min(kSinkSlice, unpackedLen - at))) {
            *result = Status::CannotWrite;
            return true;
        }
    }
    *result = Status::Ok;
    return true;
}

Status MemberDecoder::stored(ByteSource& src, DataRange in, uint64_t size, std::optional<uint32_t> crc,
                             OutputSink& sink) {
    if (in.packed != size) return Status::BrokenData;
    if (io_.empty()) io_.resize(kStoredChunk);
    uint32_t c = 0;
    uint64_t pos = in.offset, left = size;
    while (left > 0) {
        size_t want = static_cast<size_t>(std::min<uint64_t>(left, io_.size()));
        size_t got = src.readAt(pos, io_.data(), want);
        if (got == 0) return Status::UnexpectedEof;
        c = crc32Update(c, io_.data(), got);
        if (!sink.write(io_.data(), got)) return Status::CannotWrite;
        pos += got;
        left -= got;
    }
    return !crc || c == *crc ? Status::Ok : Status::FileCrc;
}

}  // namespace arc::zip
