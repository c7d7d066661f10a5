// The sliding dictionary all LZH decoders write into. A power-of-two ring at
// least as large as the method's dictionary (and never below 64 KiB, so the
// sink gets large writes); each time it fills, its bytes go to the sink and
// into the running CRC-16. Output stops at the size the header promises.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>

#include "archive.h"

namespace arc {

class LzhWindow {
public:
    // dictBits: log2 of the method's dictionary (distances never exceed it).
    LzhWindow(OutputSink& sink, uint64_t outputSize, int dictBits);

    uint64_t remaining() const { return remaining_; }
    bool sinkFailed() const { return sinkFailed_; }
    uint16_t crc() const { return crc_; }
    // Ring contents before the first output byte, `distance` bytes back (<= reach()).
    void preset(size_t distance, uint8_t value) { ring_[(0 - distance) & mask_] = value; }
    // The largest distance a method with this dictionary can code: 2^dictBits,
    // but 2^13 at least, as -lh4- codes -lh5-'s positions.
    size_t reach() const { return reach_; }

    void put(uint8_t b) {
        ring_[pos_++] = b;
        --remaining_;
        if (pos_ == size_) flush();
    }
    // Copies `len` bytes from `distance` back (1..reach(), which every
    // decoder's distance codes respect). `len` is cut to what the header
    // still allows.
    void copy(size_t distance, size_t len) {
        if (len > remaining_) len = static_cast<size_t>(remaining_);
        size_t src = (pos_ - distance) & mask_;
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
        while (len) {  // slow path: source or destination wraps around the ring
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
    // Hands the bytes not yet written to the sink; call once at the end.
    void flush();

private:
    std::unique_ptr<uint8_t[]> ring_;
    size_t size_, mask_, reach_;
    size_t pos_ = 0, start_ = 0;  // write position; first byte not yet flushed
    uint64_t remaining_;
    OutputSink& sink_;
    uint16_t crc_ = 0;
    bool sinkFailed_ = false;
};

}  // namespace arc
