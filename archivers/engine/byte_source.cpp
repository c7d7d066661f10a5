#include "byte_source.h"

#include <algorithm>
#include <cstring>

namespace arc {

size_t MemorySource::readAt(uint64_t offset, uint8_t* dst, size_t n) {
    if (n == 0 || offset >= size_) return 0;
    size_t count = static_cast<size_t>(std::min<uint64_t>(n, size_ - offset));
    std::memcpy(dst, data_ + offset, count);
    return count;
}

SliceSource::SliceSource(ByteSource& base, uint64_t begin, uint64_t length) : base_(base), begin_(begin), length_(0) {
    uint64_t total = base.size();
    if (begin < total) length_ = std::min(length, total - begin);
}

size_t SliceSource::readAt(uint64_t offset, uint8_t* dst, size_t n) {
    if (offset >= length_) return 0;
    size_t count = static_cast<size_t>(std::min<uint64_t>(n, length_ - offset));
    return base_.readAt(begin_ + offset, dst, count);
}

SequentialReader::SequentialReader(ByteSource& src, uint64_t begin, uint64_t length)
    : src_(src), begin_(begin), length_(length) {}

bool SequentialReader::refill() {
    consumedBefore_ += filled_;
    pos_ = filled_ = 0;
    uint64_t left = length_ - consumedBefore_;
    if (left == 0) return false;
    size_t want = static_cast<size_t>(std::min<uint64_t>(sizeof buf_, left));
    filled_ = src_.readAt(begin_ + consumedBefore_, buf_, want);
    if (filled_ < want) length_ = consumedBefore_ + filled_;  // short read: the window ends here
    return filled_ > 0;
}

size_t SequentialReader::read(uint8_t* dst, size_t n) {
    size_t done = 0;
    while (done < n) {
        if (pos_ == filled_ && !refill()) break;
        size_t take = std::min(n - done, filled_ - pos_);
        std::memcpy(dst + done, buf_ + pos_, take);
        pos_ += take;
        done += take;
    }
    return done;
}

}  // namespace arc
