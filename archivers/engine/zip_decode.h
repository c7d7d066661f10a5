// Decoding of one ZIP member's data into a sink, with the size and CRC-32
// checks, for every method we read. Decoders and buffers live as long as the
// MemberDecoder, so a run over many small members allocates once.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "archive.h"
#include "scratch_buffer.h"
#include "zip_method.h"

struct libdeflate_decompressor;

namespace arc::zip {

struct DataRange {
    uint64_t offset = 0;  // first data byte in the source
    uint64_t packed = 0;  // bytes of data in the source, already checked to fit
};

// Deflate members up to this size are decoded in one piece by libdeflate,
// which needs the whole output in memory and is about twice as fast as a
// streaming inflate; larger ones stream through zlib. Whole buffers cost
// fresh pages (faulted in and cleared by the kernel) for every megabyte they
// grow, which for large members eats what libdeflate saves, and they set the
// peak memory: 1 MiB keeps both small.
constexpr uint64_t kWholeDeflateLimit = 1u << 20;

// True for the methods decode() reads (stored included).
bool methodDecoded(uint16_t method);

class MemberDecoder {
public:
    MemberDecoder();
    ~MemberDecoder();
    MemberDecoder(const MemberDecoder&) = delete;
    MemberDecoder& operator=(const MemberDecoder&) = delete;

    // Writes at most facts.size bytes; Ok only when exactly that many came
    // out and their CRC-32 equals `crc` (members without a CRC pass none).
    // Method for a method not decoded.
    Status decode(uint16_t method, ByteSource& src, DataRange in, const MemberFacts& facts,
                  std::optional<uint32_t> crc, OutputSink& sink);

private:
    Status stored(ByteSource& src, DataRange in, uint64_t size, std::optional<uint32_t> crc, OutputSink& sink);
    // libdeflate over the whole member; false when it could not decode
    // exactly facts.size bytes (the streaming path then says why).
    bool wholeDeflate(ByteSource& src, DataRange in, uint64_t size, Status* result, std::optional<uint32_t> crc,
                      OutputSink& sink);
    MethodDecoder* decoderFor(uint16_t method);

    std::vector<uint8_t> io_;                // stored members pass through it
    ScratchBuffer packed_, unpacked_;        // one whole deflate member
    libdeflate_decompressor* whole_ = nullptr;
    std::map<uint16_t, std::unique_ptr<MethodDecoder>> decoders_;
};

}  // namespace arc::zip
