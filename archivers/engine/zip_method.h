// The ZIP compression methods beyond stored: one decoder per method, all fed
// the member's packed bytes front to back and writing through MemberOutput,
// which enforces the size the header promised and sums the CRC-32.
#pragma once

#include <cstdint>
#include <memory>

#include "archive.h"
#include "byte_source.h"

namespace arc::zip {

constexpr uint16_t kMethodDeflate64 = 9;
constexpr uint16_t kMethodBzip2 = 12;
constexpr uint16_t kMethodLzma = 14;
constexpr uint16_t kMethodZstd = 93;
constexpr uint16_t kMethodXz = 95;
constexpr uint16_t kMethodPpmd = 98;

// A decoder's output on its way to the member's sink. write() refuses bytes
// past `limit` (BrokenData: the data holds more than the header says) and
// passes on a sink's refusal (CannotWrite); failure() tells which.
class MemberOutput final : public OutputSink {
public:
    MemberOutput(OutputSink& sink, uint64_t limit) : sink_(sink), limit_(limit) {}
    bool write(const uint8_t* data, size_t n) override;
    uint64_t produced() const { return produced_; }
    uint32_t crc() const { return crc_; }
    Status failure() const { return failure_; }

private:
    OutputSink& sink_;
    uint64_t limit_;
    uint64_t produced_ = 0;
    uint32_t crc_ = 0;
    Status failure_ = Status::Ok;
};

// What a method may need to know of its member besides the packed bytes.
struct MemberFacts {
    uint64_t size = 0;   // uncompressed size from the directory
    uint16_t flags = 0;  // general-purpose flags (LZMA: bit 1 = end marker present)
};

class MethodDecoder {
public:
    virtual ~MethodDecoder() = default;
    // Decodes the whole stream. Returns Ok at the stream's own end (the
    // caller then compares size and CRC), BrokenData for data the method
    // rejects, UnexpectedEof when the packed bytes end first, CannotWrite
    // when `out` refused bytes (out.failure() says why), MoreHeapMemory.
    virtual Status decode(SequentialReader& in, const MemberFacts& facts, MemberOutput& out) = 0;
};

// Null for methods not decoded here.
std::unique_ptr<MethodDecoder> makeDeflateStreamDecoder();  // zlib, any size
std::unique_ptr<MethodDecoder> makeDeflate64Decoder();      // our own inflater
std::unique_ptr<MethodDecoder> makeBzip2Decoder();
std::unique_ptr<MethodDecoder> makeLzmaDecoder();
std::unique_ptr<MethodDecoder> makeXzDecoder();
std::unique_ptr<MethodDecoder> makeZstdDecoder();

// CRC-32 (ZIP, zlib) of `n` bytes continuing from `crc`.
uint32_t crc32Update(uint32_t crc, const uint8_t* p, size_t n);

}  // namespace arc::zip
