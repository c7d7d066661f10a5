#include "lzh_window.h"

#include <algorithm>

#include "lzh_crc16.h"

namespace arc {

LzhWindow::LzhWindow(OutputSink& sink, uint64_t outputSize, int dictBits)
    : size_(size_t{1} << (dictBits < 16 ? 16 : dictBits)),
      mask_(size_ - 1),
      reach_(std::min(size_, size_t{1} << (dictBits < 13 ? 13 : dictBits))),
      remaining_(outputSize),
      sink_(sink) {
    ring_.reset(new uint8_t[size_]);
    // Older LHA versions start with a history of spaces; a stream that refers
    // back before its first byte gets the same spaces they would produce.
    // Until the ring wraps, a copy reads only bytes already written or, at
    // most reach_ back from a position near the start, the ring's last reach_
    // bytes; only those need the spaces (8 KiB of 64 for -lh5-).
    std::memset(ring_.get() + size_ - reach_, ' ', reach_);
}

void LzhWindow::flush() {
    if (pos_ > start_ && !sinkFailed_) {
        crc_ = lzhCrc16(crc_, ring_.get() + start_, pos_ - start_);
        if (!sink_.write(ring_.get() + start_, pos_ - start_)) {
            sinkFailed_ = true;
            remaining_ = 0;  // ends every decoder loop
        }
    }
    if (pos_ == size_) pos_ = 0;
    start_ = pos_;
}

}  // namespace arc
