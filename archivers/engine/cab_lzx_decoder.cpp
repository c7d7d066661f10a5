// LZX decoder for CAB folders: one CFDATA block in, one frame out.
//
// Where real cabinets differ from the published LZX descriptions:
// - The E8 translation header (1 flag bit, then the 32-bit translation size as
//   two 16-bit halves, high half first) comes once, at the start of the
//   folder's first frame, not before every block.
// - The block size is one 24-bit field (CAB writers never use the one-bit
//   "default 32768" shortcut some LZX variants have).
// - The aligned tree's eight 3-bit lengths come right after the block header,
//   before the main tree, not after the length tree.
// - The uncompressed block's alignment is 1..16 bits: a header that ends on a
//   word boundary is still followed by a whole zero word.
// - An odd-length uncompressed block's pad byte sits after its last data byte;
//   when that byte ends a CFDATA block, writers may put the pad at the start
//   of the next one instead, so a missing pad is skipped there.
// - E8 translation runs on each frame's output only while the frame starts
//   below 1 GiB and only when the frame is longer than 10 bytes; its last 10
//   bytes are never translated. The window keeps untranslated bytes.
// - Each CFDATA block is one frame; its bit stream starts word-aligned at the
//   payload start, and unread bits after the frame's last symbol are padding.
//   Matches never cross a frame or block end, so one that would is rejected.
// - Tree lengths are delta-coded against the previous block's lengths for the
//   whole folder, across uncompressed blocks too. The length tree may be all
//   zero when no match needs it; decoding from an empty tree is an error.
#include <algorithm>
#include <cstring>
#include <vector>

#include "cab_block_decoder.h"
#include "cab_lzx_bits.h"
#include "cab_lzx_huffman.h"
#include "cab_lzx_tables.h"

namespace arc {

namespace {

using namespace lzx;

// Lookup table widths: a code no longer than this is one table access.
constexpr unsigned kMainTableBits = 12;     // 656 symbols: most codes <= 12 bits
constexpr unsigned kLengthTableBits = 10;   // 249 symbols
constexpr unsigned kAlignedTableBits = 7;   // lengths are 3-bit fields: every code fits
constexpr unsigned kPretreeTableBits = 8;   // 20 symbols, lengths up to 15
constexpr uint64_t kE8Limit = 0x40000000;   // frames starting at or past 1 GiB are not translated

// Match copy steps through a register (source and destination may overlap).
inline void copy8(uint8_t* d, const uint8_t* s) {
    uint64_t v;
    std::memcpy(&v, s, 8);
    std::memcpy(d, &v, 8);
}
inline void copy16(uint8_t* d, const uint8_t* s) {
    uint8_t v[16];
    std::memcpy(v, s, 16);
    std::memcpy(d, v, 16);
}

// A match whose source lies at least 16 bytes before the destination, or
// anywhere after it: 16-byte chunks, which read nothing the match has yet to
// write. Always two (most matches are that short, and a fixed count spares a
// hard-to-predict test), then as many as the length needs; the chunks may
// write up to 31 bytes past the match, into the dead bytes ahead (see the
// ring's description).
inline void copyChunks16(uint8_t* d, const uint8_t* s, unsigned length) {
    copy16(d, s);
    copy16(d + 16, s + 16);
    for (unsigned k = 32; k < length; k += 16) copy16(d + k, s + k);
}

// A match whose source lies 1..15 bytes before the destination.
inline void copyShortOffset(uint8_t* d, const uint8_t* s, uint32_t offset, unsigned length) {
    if (offset >= 8) {
        for (unsigned k = 0; k < length; k += 8) copy8(d + k, s + k);
    } else {
        // Byte order matters: an offset shorter than the length repeats bytes.
        for (unsigned k = 0; k < length; ++k) d[k] = s[k];
    }
}

// A match whose source runs past the ring's end and on from its start.
inline void copyAcrossRingEnd(uint8_t* d, const uint8_t* win, uint32_t src, uint32_t ring, unsigned length) {
    for (unsigned k = 0; k < length; ++k) {
        d[k] = win[src];
        if (++src == ring) src = 0;
    }
}

// The history lives in a ring of kRing = window + one frame bytes, followed
// by one more frame and kSlack bytes:
// - Offsets are below the window size, so the frame's worth of bytes just
//   ahead of the write position is never read again. Match copies may
//   therefore write whole 8- or 16-byte chunks past a match's end.
// - A frame is written in one piece from its start, running on past the
//   ring's end when it must; afterwards the part past the end is moved to the
//   ring's start, where it belongs. Frames of the full size start at
//   multiples of it and end exactly at the ring's end, so nothing moves.
// - A frame is handed out from the window in one copy.
class LzxDecoder final : public CabBlockDecoder {
public:
    explicit LzxDecoder(unsigned windowBits)
        : windowSize_(1u << windowBits),
          ring_(windowSize_ + kFrameSize),
          mainSymbols_(kNumChars + slotCount(windowBits) * 8),
          window_(new uint8_t[ring_ + kFrameSize + kSlack]()),
          main_(kMainTableBits),
          length_(kLengthTableBits),
          aligned_(kAlignedTableBits),
          pretree_(kPretreeTableBits) {}

    Status decodeBlock(const uint8_t* in, size_t inLen, uint8_t* out, size_t outLen) override {
        if (failed_ != Status::Ok) return failed_;
        Status s = decodeFrame(in, inLen, out, outLen);
        if (s != Status::Ok) failed_ = s;
        return s;
    }

private:
    Status decodeFrame(const uint8_t* in, size_t inLen, uint8_t* out, size_t outLen);
    Status readBlockHeader(const uint8_t* in, size_t inLen);
    Status readLengths(uint8_t* lens, unsigned first, unsigned last);
    Status decodeSymbols(size_t n, bool alignedBlock);
    template <bool kAlignedBlock>
    Status decodeSymbolsFast(size_t n);
    Status copyStored(const uint8_t* in, size_t inLen, size_t n);
    void undoE8(uint8_t* out, size_t outLen, uint64_t frameOffset) const;

    const uint32_t windowSize_;
    const uint32_t ring_;
    const unsigned mainSymbols_;
    // Room for 16-byte match chunks running past the last frame byte. The
    // chunks also read up to this far past a match's source, so the buffer
    // starts zeroed (the bytes read there are never used).
    static constexpr uint32_t kSlack = 32;
    std::unique_ptr<uint8_t[]> window_;
    uint32_t wpos_ = 0;            // next write position, below ring_ between frames
    bool wrapped_ = false;         // the ring was filled once: positions before wpos_ wrap to its end
    uint64_t total_ = 0;           // bytes produced so far in the folder

    BitReader br_;
    HuffmanDecoder main_, length_, aligned_, pretree_;
    // Path lengths persist between blocks: the next block's are deltas from these.
    uint8_t mainLens_[kMaxMainSymbols] = {};
    uint8_t lengthLens_[kLengthSymbols] = {};
    uint8_t alignedLens_[kAlignedSymbols] = {};

    bool headerRead_ = false;
    bool e8_ = false;
    int64_t e8Size_ = 0;
    uint32_t r_[3] = {1, 1, 1};
    unsigned blockType_ = 0;
    uint32_t blockLength_ = 0;
    uint32_t blockRemaining_ = 0;
    size_t storedPos_ = 0;     // next payload byte of an uncompressed block
    bool padPending_ = false;  // odd uncompressed block whose pad byte opens the next payload
    Status failed_ = Status::Ok;
};

Status LzxDecoder::decodeFrame(const uint8_t* in, size_t inLen, uint8_t* out, size_t outLen) {
    if (outLen == 0 || outLen > kFrameSize) return Status::BrokenData;
    size_t start = 0;
    if (padPending_) {
        start = 1;
        padPending_ = false;
    }
    br_.setInput(in, inLen);
    br_.seek(start);
    storedPos_ = start;
    if (!headerRead_) {
        headerRead_ = true;
        e8_ = br_.read(1) != 0;
        if (e8_) {
            uint32_t hi = br_.read(16);
            e8Size_ = (int64_t{hi} << 16) | br_.read(16);
        }
    }
    const uint32_t frameStart = wpos_;
    const uint64_t frameOffset = total_;
    size_t left = outLen;
    while (left > 0) {
        if (blockRemaining_ == 0) {
            Status s = readBlockHeader(in, inLen);
            if (s != Status::Ok) return s;
            if (blockRemaining_ == 0) {
                // Empty block: the next header follows (after the stored R0..R2).
                if (blockType_ == kUncompressed) br_.seek(storedPos_);
                continue;
            }
        }
        size_t n = std::min<size_t>(left, blockRemaining_);
        Status s = blockType_ == kUncompressed ? copyStored(in, inLen, n) : decodeSymbols(n, blockType_ == kAligned);
        if (s != Status::Ok) return s;
        if (br_.overrun()) return Status::UnexpectedEof;
        blockRemaining_ -= static_cast<uint32_t>(n);
        left -= n;
        if (blockType_ == kUncompressed && blockRemaining_ == 0) {
            if (blockLength_ & 1) {
                if (storedPos_ < inLen) {
                    ++storedPos_;
                } else if (left == 0) {
                    padPending_ = true;
                } else {
                    return Status::UnexpectedEof;
                }
            }
            br_.seek(storedPos_);
        }
    }
    uint8_t* const win = window_.get();
    std::memcpy(out, win + frameStart, outLen);
    if (wpos_ >= ring_) {
        wpos_ -= ring_;
        std::memcpy(win, win + ring_, wpos_);
        wrapped_ = true;
    }
    total_ += outLen;
    if (e8_ && outLen > 10 && frameOffset < kE8Limit) undoE8(out, outLen, frameOffset);
    return Status::Ok;
}

Status LzxDecoder::readBlockHeader(const uint8_t* in, size_t inLen) {
    blockType_ = br_.read(3);
    uint32_t hi = br_.read(16);
    blockLength_ = (hi << 8) | br_.read(8);
    blockRemaining_ = blockLength_;
    if (br_.overrun()) return Status::UnexpectedEof;
    switch (blockType_) {
    case kAligned:
        for (unsigned i = 0; i < kAlignedSymbols; ++i) alignedLens_[i] = static_cast<uint8_t>(br_.read(3));
        if (aligned_.build(alignedLens_, kAlignedSymbols, 7) == HuffmanDecoder::Build::Bad) return Status::HuffmanCode;
        [[fallthrough]];
    case kVerbatim: {
        Status s = readLengths(mainLens_, 0, kNumChars);
        if (s == Status::Ok) s = readLengths(mainLens_, kNumChars, mainSymbols_);
        if (s != Status::Ok) return s;
        // A block with data but no literal or match code cannot decode anything.
        if (main_.build(mainLens_, mainSymbols_, kMaxCodeLength) != HuffmanDecoder::Build::Ok) return Status::HuffmanCode;
        s = readLengths(lengthLens_, 0, kLengthSymbols);
        if (s != Status::Ok) return s;
        if (length_.build(lengthLens_, kLengthSymbols, kMaxCodeLength) == HuffmanDecoder::Build::Bad)
            return Status::HuffmanCode;
        return br_.overrun() ? Status::UnexpectedEof : Status::Ok;
    }
    case kUncompressed: {
        size_t at = br_.alignForBytes();
        if (br_.overrun() || at > inLen || inLen - at < 12) return Status::UnexpectedEof;
        for (unsigned i = 0; i < 3; ++i) {
            const uint8_t* p = in + at + 4 * i;
            r_[i] = p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24);
        }
        storedPos_ = at + 12;
        return Status::Ok;
    }
    default:
        return Status::BrokenData;
    }
}

// Reads the pretree, then path lengths [first, last) as deltas from the
// previous ones (mod 17) with zero runs and same-value runs.
Status LzxDecoder::readLengths(uint8_t* lens, unsigned first, unsigned last) {
    uint8_t preLens[kPretreeSymbols];
    for (unsigned i = 0; i < kPretreeSymbols; ++i) preLens[i] = static_cast<uint8_t>(br_.read(4));
    if (br_.overrun()) return Status::UnexpectedEof;
    if (pretree_.build(preLens, kPretreeSymbols, 15) == HuffmanDecoder::Build::Bad) return Status::HuffmanCode;
    unsigned i = first;
    while (i < last) {
        int sym = pretree_.decode(br_);
        if (sym < 0) return Status::HuffmanCode;
        if (br_.overrun()) return Status::UnexpectedEof;
        if (sym <= 16) {
            lens[i] = static_cast<uint8_t>((lens[i] + 17 - sym) % 17);
            ++i;
            continue;
        }
        unsigned run;
        uint8_t value = 0;
        if (sym == 17) {
            run = br_.read(4) + 4;
        } else if (sym == 18) {
            run = br_.read(5) + 20;
        } else {
            run = br_.read(1) + 4;
            int d = pretree_.decode(br_);
            if (d < 0 || d > 16) return Status::HuffmanCode;
            value = static_cast<uint8_t>((lens[i] + 17 - d) % 17);
        }
        if (run > last - i) return Status::HuffmanCode;  // run past the tree's end
        std::fill_n(lens + i, run, value);
        i += run;
    }
    return br_.overrun() ? Status::UnexpectedEof : Status::Ok;
}

Status LzxDecoder::decodeSymbols(size_t n, bool alignedBlock) {
    // One copy of the loop per block type keeps the type test out of it.
    Status s = alignedBlock ? decodeSymbolsFast<true>(n) : decodeSymbolsFast<false>(n);
    // Bits read past the input are zeros; whatever they decoded to, the
    // stream ended early, and that is the error to report.
    if (br_.overrun()) return Status::UnexpectedEof;
    return s;
}

// Decodes n bytes' worth of symbols. The reader's overrun is checked by the
// caller: reads past the input yield zero bits and every window access below
// is bounded on its own, so the symbols decoded from them stay inside the
// window and are discarded with the frame. The loop stops early only when
// the reader has gone past its padding.
template <bool kAlignedBlock>
Status LzxDecoder::decodeSymbolsFast(size_t n) {
    // Everything in locals: a window store may alias any member, which would
    // force a reload after each one.
    BitReader::State bits = br_.state();
    const uint8_t* const limit = br_.limit();
    uint8_t* const win = window_.get();
    const uint32_t* const mainTable = main_.table();
    const uint32_t* const lengthTable = length_.table();
    const uint32_t* const alignedTable = aligned_.table();
    uint32_t r0 = r_[0], r1 = r_[1], r2 = r_[2];
    uint8_t* d = win + wpos_;
    uint8_t* const end = d + n;  // below ring_ + kFrameSize: one frame at most
    Status status = Status::Ok;
    while (d < end && bits.next <= limit) {
        // One refill covers the longest symbol with its length and footer.
        BitReader::refill(bits);
        uint32_t e = mainTable[bits.buf >> (64 - kMainTableBits)];
        if ((e >> 16) == 0) {
            e = main_.entryLong(static_cast<uint32_t>(bits.buf >> (64 - kMaxCodeLength)));
            if (e == 0) {
                status = Status::HuffmanCode;
                break;
            }
        }
        bits.buf <<= e >> 16;
        bits.count -= e >> 16;
        unsigned sym = e & 0xFFFF;
        if (sym < kNumChars) {
            *d++ = static_cast<uint8_t>(sym);
            continue;
        }
        sym -= kNumChars;
        // The length code is looked up whether or not it follows, then
        // masked out when it does not: a third of the matches have one, too
        // many for a branch to guess. isLong: header 7, "length code follows".
        const uint32_t isLong = ((sym & 7) + 1) >> 3;
        uint32_t le = lengthTable[bits.buf >> (64 - kLengthTableBits)];
        if ((le >> 16) == 0) {  // a longer code, or an empty tree
            le = 0;
            if (isLong) {
                le = length_.entryLong(static_cast<uint32_t>(bits.buf >> (64 - kMaxCodeLength)));
                if (le == 0) {
                    status = Status::HuffmanCode;
                    break;
                }
            }
        }
        le &= 0u - isLong;
        bits.buf <<= le >> 16;
        bits.count -= le >> 16;
        const unsigned length = (sym & 7) + kMinMatch + (le & 0xFFFF);
        const unsigned slot = sym >> 3;
        uint32_t offset;
        if (slot >= 3) {
            // Coded offsets lie in 1 .. windowSize - 3: the slots end there.
            unsigned footerBits = kSlots.bits[slot];
            uint32_t footer;
            if (kAlignedBlock && footerBits >= 3) {
                footerBits -= 3;
                footer = static_cast<uint32_t>((bits.buf >> 1) >> (63 - footerBits)) << 3;
                bits.buf <<= footerBits;
                bits.count -= footerBits;
                uint32_t ae = alignedTable[bits.buf >> (64 - kAlignedTableBits)];
                if ((ae >> 16) == 0) {  // empty tree: its codes are never longer than the table
                    status = Status::HuffmanCode;
                    break;
                }
                bits.buf <<= ae >> 16;
                bits.count -= ae >> 16;
                footer += ae & 0xFFFF;
            } else {
                footer = static_cast<uint32_t>((bits.buf >> 1) >> (63 - footerBits));
                bits.buf <<= footerBits;
                bits.count -= footerBits;
            }
            offset = kSlots.base[slot] + footer - 2;
            r2 = r1;
            r1 = r0;
            r0 = offset;
        } else {
            if (slot == 0) {
                offset = r0;
            } else if (slot == 1) {
                offset = r1;
                r1 = r0;
                r0 = offset;
            } else {
                offset = r2;
                r2 = r0;
                r0 = offset;
            }
            // A stored block may have set any value.
            if (offset - 1 >= windowSize_ - 1) {
                status = Status::BrokenData;
                break;
            }
        }
        if (length > static_cast<size_t>(end - d)) {  // past the frame or block end
            status = Status::BrokenData;
            break;
        }
        const uint8_t* s;
        if (offset > static_cast<size_t>(d - win)) {
            // The source lies before the ring's start: at its end, once filled.
            if (!wrapped_) {
                status = Status::BrokenData;
                break;
            }
            const uint32_t src = static_cast<uint32_t>(d - win) + ring_ - offset;
            if (src + length > ring_) {  // and runs on past it
                copyAcrossRingEnd(d, win, src, ring_, length);
                d += length;
                continue;
            }
            // More than a frame after the destination: no overlap.
            s = win + src;
        } else {
            s = d - offset;
            if (offset < 16) {
                copyShortOffset(d, s, offset, length);
                d += length;
                continue;
            }
        }
        copyChunks16(d, s, length);
        d += length;
    }
    r_[0] = r0;
    r_[1] = r1;
    r_[2] = r2;
    wpos_ = static_cast<uint32_t>(d - win);
    br_.setState(bits);
    return status;
}

Status LzxDecoder::copyStored(const uint8_t* in, size_t inLen, size_t n) {
    if (storedPos_ > inLen || inLen - storedPos_ < n) return Status::UnexpectedEof;
    std::memcpy(window_.get() + wpos_, in + storedPos_, n);
    wpos_ += static_cast<uint32_t>(n);
    storedPos_ += n;
    return Status::Ok;
}

// Turns the absolute call targets the compressor stored back into the
// relative displacements of the original x86 code.
void LzxDecoder::undoE8(uint8_t* out, size_t outLen, uint64_t frameOffset) const {
    const uint8_t* end = out + (outLen - 10);
    uint8_t* p = out;
    while (p < end) {
        p = static_cast<uint8_t*>(std::memchr(p, 0xE8, static_cast<size_t>(end - p)));
        if (p == nullptr) break;
        int64_t cur = static_cast<int64_t>(frameOffset) + (p - out);
        int32_t value = static_cast<int32_t>(p[1] | (p[2] << 8) | (p[3] << 16) | (uint32_t{p[4]} << 24));
        if (value >= -cur && value < e8Size_) {
            int64_t rel = value >= 0 ? value - cur : value + e8Size_;
            uint32_t v = static_cast<uint32_t>(rel);
            p[1] = static_cast<uint8_t>(v);
            p[2] = static_cast<uint8_t>(v >> 8);
            p[3] = static_cast<uint8_t>(v >> 16);
            p[4] = static_cast<uint8_t>(v >> 24);
        }
        p += 5;
    }
}

}  // namespace

std::unique_ptr<CabBlockDecoder> makeLzxDecoder(unsigned windowBits) {
    if (windowBits < kMinWindowBits || windowBits > kMaxWindowBits) return nullptr;
    return std::make_unique<LzxDecoder>(windowBits);
}

}  // namespace arc
