// Decoding of one ZIP member's data (stored or deflate) into a sink, with the
// size and CRC-32 checks. Buffers and the inflate state live as long as the
// decoder, so a run over many small members allocates once.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "archive.h"

namespace arc::zip {

struct DataRange {
    uint64_t offset = 0;  // first data byte in the source
    uint64_t packed = 0;  // bytes of data in the source, already checked to fit
};

class MemberDecoder {
public:
    MemberDecoder();
    ~MemberDecoder();
    MemberDecoder(const MemberDecoder&) = delete;
    MemberDecoder& operator=(const MemberDecoder&) = delete;

    // Writes at most `size` bytes; Ok only when exactly `size` bytes came out
    // and their CRC-32 equals `crc`.
    Status stored(ByteSource& src, DataRange in, uint64_t size, uint32_t crc, OutputSink& sink);
    Status inflate(ByteSource& src, DataRange in, uint64_t size, uint32_t crc, OutputSink& sink);

private:
    struct Measure {
        uint64_t consumed = 0;  // compressed bytes up to the end of the stream
        uint64_t produced = 0;
        uint32_t crc = 0;
    };
    // The inflate loop: stops with BrokenData before output passes `limit`.
    Status runInflate(ByteSource& src, DataRange in, uint64_t limit, OutputSink* sink, Measure* out);

    struct Inflater;
    // 256 KiB each way: large enough that per-call overhead in the source,
    // zlib and the sink disappears next to the decoding work.
    static constexpr size_t kBufferSize = 256 * 1024;
    std::vector<uint8_t> in_, out_;
    std::unique_ptr<Inflater> inflater_;
};

}  // namespace arc::zip
