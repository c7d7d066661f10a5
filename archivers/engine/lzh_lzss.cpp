// LArc's -lzs- and -lz5- (also written by early LHarc): plain LZSS with the
// match source given as an absolute position in a small ring buffer rather
// than as a distance. We convert each position to a distance from the
// current ring position and let the shared window do the copy.
//
// Where real archives differ from the usual description: -lz5- streams may
// refer to positions never written, and LArc fills its ring beforehand with a
// fixed pattern (runs of every byte value, ramps, zeros, spaces); files made
// with that history decode only if we set up the same bytes.
#include "lzh_decoders.h"

namespace arc {

namespace {

// Distance from ring position `cur` back to absolute position `pos` in a ring of `size`.
size_t ringDistance(size_t cur, size_t pos, size_t size) {
    size_t d = (cur - pos) & (size - 1);
    return d == 0 ? size : d;
}

}  // namespace

Status lzhDecodeLzs(LzhBitReader& br, LzhWindow& out) {
    constexpr size_t kRing = 2048;           // 11-bit positions
    constexpr size_t kStart = kRing - 17;    // first write position, as LArc starts
    constexpr int kMinMatch = 2;
    const uint64_t total = out.remaining();
    while (out.remaining() > 0) {
        br.refill();
        if (br.get(1)) {
            out.put(static_cast<uint8_t>(br.get(8)));
        } else {
            size_t pos = br.get(11);
            size_t len = br.get(4) + kMinMatch;
            size_t cur = static_cast<size_t>((kStart + (total - out.remaining())) & (kRing - 1));
            out.copy(ringDistance(cur, pos, kRing), len);
        }
        if (br.overrun()) return Status::UnexpectedEof;
    }
    return Status::Ok;
}

Status lzhDecodeLz5(SequentialReader& in, LzhWindow& out) {
    constexpr size_t kRing = 4096;          // 12-bit positions
    constexpr size_t kStart = kRing - 18;   // first write position, as LArc starts
    constexpr int kMinMatch = 3;
    // LArc's initial ring: each byte value 13 times, 0..255, 255..0, 128 zeros,
    // then spaces up to the start position; the last 18 bytes stay zero.
    uint8_t history[kRing] = {};
    size_t h = 0;
    for (int v = 0; v < 256; ++v)
        for (int k = 0; k < 13; ++k) history[h++] = static_cast<uint8_t>(v);
    for (int v = 0; v < 256; ++v) history[h++] = static_cast<uint8_t>(v);
    for (int v = 255; v >= 0; --v) history[h++] = static_cast<uint8_t>(v);
    h += 128;
    while (h < kStart) history[h++] = ' ';
    for (size_t d = 1; d <= kRing; ++d) out.preset(d, history[(kStart - d) & (kRing - 1)]);

    const uint64_t total = out.remaining();
    while (out.remaining() > 0) {
        uint8_t flags;
        if (!in.next(flags)) return Status::UnexpectedEof;
        for (int bit = 0; bit < 8 && out.remaining() > 0; ++bit, flags >>= 1) {
            uint8_t a, b;
            if (!in.next(a)) return Status::UnexpectedEof;
            if (flags & 1) {
                out.put(a);
                continue;
            }
            if (!in.next(b)) return Status::UnexpectedEof;
            size_t pos = a | (static_cast<size_t>(b & 0xF0) << 4);
            size_t len = (b & 0x0F) + kMinMatch;
            size_t cur = static_cast<size_t>((kStart + (total - out.remaining())) & (kRing - 1));
            out.copy(ringDistance(cur, pos, kRing), len);
        }
    }
    return Status::Ok;
}

}  // namespace arc
