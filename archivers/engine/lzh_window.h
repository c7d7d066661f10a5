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
        if (distance >= 8 && src + len <= size_ && pos_ + len < size_) {
            // 8-byte chunks: always two (most matches are that short, and a
            // fixed count spares a hard-to-predict length test), then as
            // many as the length needs. A chunk reads nothing this match has
            // yet to write: the source lies at least 8 bytes behind, or ahead
            // in the ring. The chunks may run up to 14 bytes past the match
            // (into the slack past the ring's end at most). Those bytes lie
            // just ahead of the write position, so only a distance of nearly
            // the ring size could read them before they are overwritten: they
            // are put back when the method reaches that far (keepAhead_).
            uint8_t* d = ring_.get() + pos_;
            const uint8_t* s = ring_.get() + src;
            if (keepAhead_) {
                uint8_t keep[kSlack];
                std::memcpy(keep, d + len, kSlack);
                copyChunks(d, s, len);
                std::memcpy(d + len, keep, kSlack);
            } else {
                copyChunks(d, s, len);
            }
            pos_ += len;
            remaining_ -= len;
            return;
        }
        copyShortOrWrapping(src, distance, len);
    }
    // The byte `distance` (1..reach()) back from the write position, for
    // methods that look at each copied byte.
    uint8_t back(size_t distance) const { return ring_[(pos_ - distance) & mask_]; }
    // Hands the bytes not yet written to the sink; call once at the end.
    void flush();

private:
    // copy() for a distance below 8 or a source or destination that wraps.
    void copyShortOrWrapping(size_t src, size_t distance, size_t len);
    // One 8-byte step of a match copy (through a register: the ranges may overlap).
    static void copy8(uint8_t* d, const uint8_t* s) {
        uint64_t v;
        std::memcpy(&v, s, 8);
        std::memcpy(d, &v, 8);
    }
    static void copyChunks(uint8_t* d, const uint8_t* s, size_t len) {
        copy8(d, s);
        copy8(d + 8, s + 8);
        for (size_t k = 16; k < len; k += 8) copy8(d + k, s + k);
    }

    // Bytes past the ring that a match copy's chunks may run into.
    static constexpr size_t kSlack = 16;
    std::unique_ptr<uint8_t[]> ring_;  // size_ + kSlack bytes
    size_t size_, mask_, reach_;
    bool keepAhead_;  // reach_ > size_ - kSlack: bytes just ahead of pos_ are history still in reach
    size_t pos_ = 0, start_ = 0;  // write position; first byte not yet flushed
    uint64_t remaining_;
    OutputSink& sink_;
    uint16_t crc_ = 0;
    bool sinkFailed_ = false;
};

}  // namespace arc
