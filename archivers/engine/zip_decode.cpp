#include "zip_decode.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace arc::zip {

namespace {

uint32_t updateCrc(uint32_t crc, const uint8_t* p, size_t n) {
    return static_cast<uint32_t>(crc32(crc, p, static_cast<uInt>(n)));
}

}  // namespace

struct MemberDecoder::Inflater {
    z_stream zs{};
    bool ready = false;
    ~Inflater() {
        if (ready) inflateEnd(&zs);
    }
    // Raw deflate (no zlib wrapper), as ZIP stores it.
    bool reset() {
        if (ready) return inflateReset(&zs) == Z_OK;
        std::memset(&zs, 0, sizeof zs);
        ready = inflateInit2(&zs, -15) == Z_OK;
        return ready;
    }
};

MemberDecoder::MemberDecoder() = default;
MemberDecoder::~MemberDecoder() = default;

Status MemberDecoder::stored(ByteSource& src, DataRange in, uint64_t size, uint32_t crc, OutputSink& sink) {
    if (in.packed != size) return Status::BrokenData;
    if (in_.empty()) in_.resize(kBufferSize);
    uint32_t c = 0;
    uint64_t pos = in.offset, left = size;
    while (left > 0) {
        size_t want = static_cast<size_t>(std::min<uint64_t>(left, in_.size()));
        size_t got = src.readAt(pos, in_.data(), want);
        if (got == 0) return Status::UnexpectedEof;
        c = updateCrc(c, in_.data(), got);
        if (!sink.write(in_.data(), got)) return Status::CannotWrite;
        pos += got;
        left -= got;
    }
    return c == crc ? Status::Ok : Status::FileCrc;
}

Status MemberDecoder::inflate(ByteSource& src, DataRange in, uint64_t size, uint32_t crc, OutputSink& sink) {
    Measure m;
    Status st = runInflate(src, in, size, &sink, &m);
    if (!ok(st)) return st;
    if (m.produced != size) return Status::BrokenData;
    return m.crc == crc ? Status::Ok : Status::FileCrc;
}

Status MemberDecoder::runInflate(ByteSource& src, DataRange in, uint64_t limit, OutputSink* sink, Measure* out) {
    if (in_.empty()) in_.resize(kBufferSize);
    if (out_.empty()) out_.resize(kBufferSize);
    if (!inflater_) inflater_ = std::make_unique<Inflater>();
    if (!inflater_->reset()) return Status::MoreHeapMemory;
    z_stream& zs = inflater_->zs;
    zs.avail_in = 0;
    uint64_t pos = in.offset, inLeft = in.packed, produced = 0;
    uint32_t c = 0;
    for (;;) {
        if (zs.avail_in == 0 && inLeft > 0) {
            size_t want = static_cast<size_t>(std::min<uint64_t>(inLeft, in_.size()));
            size_t got = src.readAt(pos, in_.data(), want);
            if (got == 0) return Status::UnexpectedEof;
            pos += got;
            inLeft -= got;
            zs.next_in = in_.data();
            zs.avail_in = static_cast<uInt>(got);
        }
        zs.next_out = out_.data();
        zs.avail_out = static_cast<uInt>(out_.size());
        int r = ::inflate(&zs, Z_NO_FLUSH);
        size_t n = out_.size() - zs.avail_out;
        if (n > 0) {
            // More output than the header promised: stop before the sink
            // receives a byte beyond the promise.
            if (n > limit - produced) return Status::BrokenData;
            c = updateCrc(c, out_.data(), n);
            if (sink && !sink->write(out_.data(), n)) return Status::CannotWrite;
            produced += n;
        }
        if (r == Z_STREAM_END) break;
        if (r == Z_MEM_ERROR) return Status::MoreHeapMemory;
        if (r != Z_OK && r != Z_BUF_ERROR) return Status::BrokenData;
        // No input left and no output room was needed: the stream is cut off.
        if (zs.avail_in == 0 && inLeft == 0 && n == 0) return Status::UnexpectedEof;
    }
    out->consumed = in.packed - inLeft - zs.avail_in;
    out->produced = produced;
    out->crc = c;
    return Status::Ok;
}

}  // namespace arc::zip
