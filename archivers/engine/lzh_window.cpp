#include "lzh_window.h"

#include <algorithm>

#include "lzh_crc16.h"

namespace arc {

LzhWindow::LzhWindow(OutputSink& sink, uint64_t outputSize, int dictBits)
    : size_(size_t{1} << (dictBits < 16 ? 16 : dictBits)),
      mask_(size_ - 1),
      reach_(std::min(size_, size_t{1} << (dictBits < 13 ? 13 : dictBits))),
      keepAhead_(reach_ > size_ - kSlack),
      remaining_(outputSize),
      sink_(sink) {
    ring_.reset(new uint8_t[size_ + kSlack]);
    // Older LHA versions start with a history of spaces; a stream that refers
    // back before its first byte gets the same spaces they would produce.
    // Until the ring wraps, a copy reads only bytes already written or, at
    // most reach_ back from a position near the start, the ring's last reach_
    // bytes; only those need the spaces (8 KiB of 64 for -lh5-). The slack
    // (read by the last chunks of a copy from the ring's end) is zeroed.
    std::memset(ring_.get() + size_ - reach_, ' ', reach_);
    std::memset(ring_.get() + size_, 0, kSlack);
}

void LzhWindow::copyShortOrWrapping(size_t src, size_t distance, size_t len) {
    if (src + len <= size_ && pos_ + len < size_) {
        uint8_t* d = ring_.get() + pos_;
        const uint8_t* s = ring_.get() + src;
        if (src < pos_ && distance >= len) std::memcpy(d, s, len);
        else if (src > pos_) std::memmove(d, s, len);
        else for (size_t i = 0; i < len; ++i) d[i] = s[i];  // overlapping run: byte order matters
        pos_ += len;
        remaining_ -= len;
        return;
    }
    while (len) {  // source or destination wraps around the ring
        ring_[pos_] = ring_[src];
        src = (src + 1) & mask_;
        --len;
        --remaining_;
        if (++pos_ == size_) {
            flush();
            if (sinkFailed_) return;
        }
    }
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
