// Bounded random-access input. Readers never hold a whole archive in memory;
// every read names its offset and length and may come back short.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace arc {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t size() const = 0;
    // Copies up to n bytes from offset into dst; returns how many were copied
    // (fewer only at the end of the data or on a read error).
    virtual size_t readAt(uint64_t offset, uint8_t* dst, size_t n) = 0;

    // Convenience: true only when all n bytes were read.
    bool readExact(uint64_t offset, uint8_t* dst, size_t n) { return readAt(offset, dst, n) == n; }
};

// A source over bytes the caller keeps alive (tests, fuzzers, carved data).
class MemorySource final : public ByteSource {
public:
    MemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    explicit MemorySource(const std::vector<uint8_t>& v) : data_(v.data()), size_(v.size()) {}
    uint64_t size() const override { return size_; }
    size_t readAt(uint64_t offset, uint8_t* dst, size_t n) override;

private:
    const uint8_t* data_;
    size_t size_;
};

// A window [begin, begin + length) of another source, seen as starting at 0.
// Self-extracting programs whose archive offsets count from the archive start use it.
class SliceSource final : public ByteSource {
public:
    SliceSource(ByteSource& base, uint64_t begin, uint64_t length);
    uint64_t size() const override { return length_; }
    size_t readAt(uint64_t offset, uint8_t* dst, size_t n) override;

private:
    ByteSource& base_;
    uint64_t begin_;
    uint64_t length_;
};

// Opens a file for reading. The path is UTF-8; on Windows it is converted to
// UTF-16 for the wide API. Returns null when the file cannot be opened.
std::unique_ptr<ByteSource> openFileSource(const std::string& utf8Path);

// Sequential reading on top of a ByteSource with a small buffer, used by
// decoders that consume compressed data front to back.
class SequentialReader {
public:
    SequentialReader(ByteSource& src, uint64_t begin, uint64_t length);
    // Next byte; returns false at the end of the window or on a read error.
    bool next(uint8_t& b) {
        if (pos_ < filled_) { b = buf_[pos_++]; return true; }
        return refill() && (b = buf_[pos_++], true);
    }
    // Up to n bytes; returns the count.
    size_t read(uint8_t* dst, size_t n);
    uint64_t consumed() const { return consumedBefore_ + pos_; }
    uint64_t remaining() const { return length_ - consumed(); }

private:
    bool refill();
    ByteSource& src_;
    uint64_t begin_, length_;
    uint64_t consumedBefore_ = 0;
    size_t pos_ = 0, filled_ = 0;
    uint8_t buf_[64 * 1024];
};

}  // namespace arc
