#include "lzh_macbinary.h"

#include <algorithm>

#include "big_endian.h"

namespace arc {

namespace {
constexpr size_t kHeaderSize = 128;

uint64_t padded(uint64_t n) { return (n + kHeaderSize - 1) / kHeaderSize * kHeaderSize; }
}  // namespace

bool isMacBinaryHeader(const uint8_t* h, uint64_t totalSize, uint64_t* dataLength) {
    // Byte 0, 74 and 82 are zero in every MacBinary version; the name is a
    // Pascal string of 1 to 63 characters.
    if (h[0] != 0 || h[74] != 0 || h[82] != 0 || h[1] < 1 || h[1] > 63) return false;
    uint64_t data = be32(h + 83), resource = be32(h + 87);
    if (kHeaderSize + padded(data) + padded(resource) != totalSize) return false;
    *dataLength = data;
    return true;
}

bool MacBinaryDataFork::decide() {
    uint64_t data = 0;
    if (head_.size() == kHeaderSize && isMacBinaryHeader(head_.data(), total_, &data)) {
        mode_ = Mode::Fork;
        forkLeft_ = data;
        head_.clear();
        return true;
    }
    mode_ = Mode::Plain;
    bool ok = head_.empty() || out_.write(head_.data(), head_.size());
    head_.clear();
    return ok;
}

bool MacBinaryDataFork::write(const uint8_t* data, size_t n) {
    if (mode_ == Mode::Undecided) {
        size_t take = std::min(n, kHeaderSize - head_.size());
        head_.insert(head_.end(), data, data + take);
        data += take;
        n -= take;
        if (head_.size() < kHeaderSize) return true;
        if (!decide()) return false;
    }
    if (mode_ == Mode::Plain) return n == 0 || out_.write(data, n);
    size_t pass = static_cast<size_t>(std::min<uint64_t>(n, forkLeft_));
    forkLeft_ -= pass;
    return pass == 0 || out_.write(data, pass);
}

bool MacBinaryDataFork::finish() { return mode_ != Mode::Undecided || decide(); }

}  // namespace arc
