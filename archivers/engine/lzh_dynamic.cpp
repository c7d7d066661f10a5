// -lh1- and -lh2-: LZSS with adaptive Huffman codes (see lzh_adaptive.h).
// -lh1- codes the upper 6 bits of a 12-bit position with a fixed code;
// -lh2- uses a second adaptive tree and lets its last literal/length symbol
// carry 8 extra bits for lengths up to 256.
//
// Where real archives differ from the usual description: some encoders of
// these methods leave out the last, partly filled byte of a stream when its
// bits are zeros, so the last code runs up to 7 bits past the packed data.
// Other decoders read zeros there and so do we; the member's CRC-16 then
// vouches for the result. Any earlier end is a cut-off stream.
#include "lzh_adaptive.h"
#include "lzh_decoders.h"

namespace arc {

namespace {

// The bits the last code of a member may lack: less than one byte.
constexpr int64_t kMissingTailBits = 7;

// UnexpectedEof once bits past the packed data were used, except for the
// missing zeros of a last byte left out, after the member's last code.
bool cutOff(const LzhBitReader& br, const LzhWindow& out) {
    return br.overrun() && !(out.remaining() == 0 && br.overrunBits() <= kMissingTailBits);
}

// The fixed -lh1- position code: bit counts step up at these symbols,
// starting at 3 bits (1 code of 3 bits, 3 of 4, 8 of 5, 12 of 6, 24 of 7, 16 of 8).
void fixedPositionLengths(uint8_t* lens) {
    static const int steps[] = {1, 4, 12, 24, 48};
    int len = 3, s = 0;
    for (int i = 0; i < 64; ++i) {
        while (s < 5 && steps[s] == i) ++len, ++s;
        lens[i] = static_cast<uint8_t>(len);
    }
}

}  // namespace

Status lzhDecodeLh1(LzhBitReader& br, LzhWindow& out) {
    auto trees = std::make_unique<LzhAdaptiveTrees>();
    trees->startChars(LzhAdaptiveTrees::kCharSymbols);
    uint8_t lens[64];
    fixedPositionLengths(lens);
    LzhHuffman pos;
    pos.build(lens, 64, 8);
    while (out.remaining() > 0) {
        br.refill();
        int c = trees->decodeChar(br);
        if (c < 0 || trees->broken()) return Status::BrokenData;
        if (c < 256) {
            out.put(static_cast<uint8_t>(c));
        } else {
            int hi = pos.decode(br);
            if (hi < 0) return Status::BrokenData;
            size_t dist = (static_cast<size_t>(hi) << 6 | br.get(6)) + 1;  // <= 4096
            out.copy(dist, static_cast<size_t>(c - 253));
        }
        if (cutOff(br, out)) return Status::UnexpectedEof;
    }
    return Status::Ok;
}

Status lzhDecodeLh2(LzhBitReader& br, LzhWindow& out) {
    constexpr int kSymbols = 286;       // 256 literals + 30 length codes
    constexpr int kExtended = kSymbols - 1;  // followed by 8 bits: lengths 32..287
    auto trees = std::make_unique<LzhAdaptiveTrees>();
    trees->startChars(kSymbols);
    trees->startPositions(13);
    const uint64_t total = out.remaining();
    while (out.remaining() > 0) {
        br.refill();
        int c = trees->decodeChar(br);
        if (c < 0 || trees->broken()) return Status::BrokenData;
        if (c == kExtended) c += static_cast<int>(br.get(8));
        if (c < 256) {
            out.put(static_cast<uint8_t>(c));
        } else {
            int hi = trees->decodePosition(br, total - out.remaining());
            if (hi < 0 || trees->broken()) return Status::BrokenData;
            size_t dist = (static_cast<size_t>(hi) << 6 | br.get(6)) + 1;  // <= 8192
            out.copy(dist, static_cast<size_t>(c - 253));
        }
        if (cutOff(br, out)) return Status::UnexpectedEof;
    }
    return Status::Ok;
}

}  // namespace arc
