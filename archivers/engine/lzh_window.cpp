#include "lzh_window.h"

#include "lzh_crc16.h"

namespace arc {

LzhWindow::LzhWindow(OutputSink& sink, uint64_t outputSize, int dictBits)
    : size_(size_t{1} << (dictBits < 16 ? 16 : dictBits)), mask_(size_ - 1), remaining_(outputSize), sink_(sink) {
    ring_.reset(new uint8_t[size_]);
    // Older LHA versions start with a history of spaces; a stream that refers
    // back before its first byte gets the same spaces they would produce.
    std::memset(ring_.get(), ' ', size_);
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
