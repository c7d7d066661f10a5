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

// One 8-byte step of a match copy (through a register: the ranges may overlap).
inline void copy8(uint8_t* d, const uint8_t* s) {
    uint64_t v;
    std::memcpy(&v, s, 8);
    std::memcpy(d, &v, 8);
}

class LzxDecoder final : public CabBlockDecoder {
public:
    explicit LzxDecoder(unsigned windowBits)
        : windowSize_(1u << windowBits),
          mask_(windowSize_ - 1),
          mainSymbols_(kNumChars + slotCount(windowBits) * 8),
          window_(new uint8_t[windowSize_ + kSlack]()),
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
    Status decodeSymbols(BitReader& br, size_t n, bool alignedBlock);
    template <bool kAlignedBlock, bool kWindowFull>
    Status decodeSymbolsUnchecked(BitReader& br, size_t n);
    Status copyStored(const uint8_t* in, size_t inLen, size_t n);
    void emitFrame(size_t start, uint8_t* out, size_t outLen) const;
    void undoE8(uint8_t* out, size_t outLen, uint64_t frameOffset) const;

    const uint32_t windowSize_;
    const uint32_t mask_;
    const unsigned mainSymbols_;
    // 2^windowBits of untranslated history, then kSlack bytes the match copy
    // may run into. A match only reaches bytes already produced (offset <=
    // total_); the copy's look at the bytes past a match may see unwritten
    // ones, so the window starts zeroed.
    static constexpr uint32_t kSlack = 16;
    std::unique_ptr<uint8_t[]> window_;
    uint32_t wpos_ = 0;            // next window write position
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
    br_.reset(in, inLen, start);
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
                if (blockType_ == kUncompressed) br_.reset(in, inLen, storedPos_);
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
            br_.reset(in, inLen, storedPos_);
        }
    }
    emitFrame(frameStart, out, outLen);
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
    // A local copy of the reader stays in registers: window stores are byte
    // stores, which would otherwise force it to be reloaded after each one.
    BitReader br = br_;
    Status s = decodeSymbols(br, n, alignedBlock);
    br_ = br;
    return s;
}

Status LzxDecoder::decodeSymbols(BitReader& br, size_t n, bool alignedBlock) {
    // One copy of the loop per block type keeps the type test out of it, and
    // one for a window already filled once, where every offset below the
    // window size reaches produced bytes.
    Status s;
    if (total_ >= windowSize_)
        s = alignedBlock ? decodeSymbolsUnchecked<true, true>(br, n) : decodeSymbolsUnchecked<false, true>(br, n);
    else
        s = alignedBlock ? decodeSymbolsUnchecked<true, false>(br, n) : decodeSymbolsUnchecked<false, false>(br, n);
    // Bits read past the input are zeros; whatever they decoded to, the
    // stream ended early, and that is the error to report.
    if (br.overrun()) return Status::UnexpectedEof;
    return s;
}

// Checks the bit reader's overrun only at the end (decodeSymbols): reads past
// the input yield zero bits and every window access below is bounded on its
// own, so the symbols decoded from them stay inside the window and are
// discarded with the frame.
template <bool kAlignedBlock, bool kWindowFull>
Status LzxDecoder::decodeSymbolsUnchecked(BitReader& br, size_t n) {
    // Locals again: a window store may alias any member, which would force a
    // reload after each one.
    uint8_t* const win = window_.get();
    const uint32_t mask = mask_;
    const uint32_t windowSize = windowSize_;
    const uint32_t* const mainTable = main_.table();
    const uint32_t* const lengthTable = length_.table();
    uint32_t r0 = r_[0], r1 = r_[1], r2 = r_[2];
    uint32_t pos = wpos_;
    uint64_t produced = total_;
    size_t left = n;
    Status status = Status::Ok;
    while (left > 0) {
        // The main code is read without a further test; the length code,
        // the footer and the slow paths below test for their own bits.
        br.ensure(kMaxCodeLength);
        int sym;
        uint32_t e = mainTable[br.peekBuffered(kMainTableBits)];
        if (e >> 16) {
            br.skip(e >> 16);
            sym = static_cast<int>(e & 0xFFFF);
        } else {
            sym = main_.decodeLong(br);
            if (sym < 0) {
                status = Status::HuffmanCode;
                break;
            }
        }
        if (sym < static_cast<int>(kNumChars)) {
            win[pos] = static_cast<uint8_t>(sym);
            pos = (pos + 1) & mask;
            ++produced;
            --left;
            continue;
        }
        sym -= kNumChars;
        unsigned length = (sym & 7) + kMinMatch;
        if ((sym & 7) == kNumPrimaryLengths) {
            uint32_t le = lengthTable[br.peek(kLengthTableBits)];
            int extra;
            if (le >> 16) {
                br.skip(le >> 16);
                extra = static_cast<int>(le & 0xFFFF);
            } else {
                extra = length_.decodeLong(br);
                if (extra < 0) {
                    status = Status::HuffmanCode;
                    break;
                }
            }
            length += extra;
        }
        unsigned slot = static_cast<unsigned>(sym) >> 3;
        uint32_t offset;
        if (slot == 0) {
            offset = r0;
        } else if (slot == 1) {
            offset = r1;
            r1 = r0;
            r0 = offset;
        } else if (slot == 2) {
            offset = r2;
            r2 = r0;
            r0 = offset;
        } else {
            unsigned bits = kSlots.bits[slot];
            uint32_t footer;
            if (kAlignedBlock && bits >= 3) {
                footer = br.read(bits - 3) << 3;
                int a = aligned_.decode(br);
                if (a < 0) {
                    status = Status::HuffmanCode;
                    break;
                }
                footer += static_cast<uint32_t>(a);
            } else {
                footer = br.read(bits);
            }
            offset = kSlots.base[slot] + footer - 2;
            r2 = r1;
            r1 = r0;
            r0 = offset;
        }
        if (length > left) {  // past the frame or block end
            status = Status::BrokenData;
            break;
        }
        // offset in 1 .. min(produced, windowSize - 1): nothing before the window start.
        if (kWindowFull ? offset - 1 >= windowSize - 1
                        : offset - 1 >= std::min<uint64_t>(produced, windowSize - 1)) {
            status = Status::BrokenData;
            break;
        }
        uint32_t src = (pos - offset) & mask;
        // src | pos is at least either and below the window size (a power of
        // two): one test that neither run crosses the window's end.
        if ((src | pos) + length <= windowSize) {
            uint8_t* d = win + pos;
            const uint8_t* s = win + src;
            if (offset >= 8) {
                // 8-byte chunks: always two (most matches are that short, and
                // a fixed count spares a hard-to-predict loop test), then as
                // many as the length needs. The chunks may run up to 14 bytes
                // past the match into history that is put back afterwards
                // (the window has kSlack bytes beyond its end for this). A
                // chunk reads nothing this match has yet to write: the source
                // lies at least 8 bytes before the destination, or after it.
                uint8_t keep[kSlack];
                std::memcpy(keep, d + length, kSlack);
                copy8(d, s);
                copy8(d + 8, s + 8);
                for (unsigned k = 16; k < length; k += 8) copy8(d + k, s + k);
                std::memcpy(d + length, keep, kSlack);
            } else {
                // Byte order matters: an offset shorter than the length repeats bytes.
                for (unsigned k = 0; k < length; ++k) d[k] = s[k];
            }
            pos = (pos + length) & mask;
        } else {
            for (unsigned k = 0; k < length; ++k) {
                win[pos] = win[src];
                pos = (pos + 1) & mask;
                src = (src + 1) & mask;
            }
        }
        produced += length;
        left -= length;
    }
    r_[0] = r0;
    r_[1] = r1;
    r_[2] = r2;
    wpos_ = pos;
    total_ = produced;
    return status;
}

Status LzxDecoder::copyStored(const uint8_t* in, size_t inLen, size_t n) {
    if (storedPos_ > inLen || inLen - storedPos_ < n) return Status::UnexpectedEof;
    const uint8_t* src = in + storedPos_;
    size_t first = std::min<size_t>(n, windowSize_ - wpos_);
    std::memcpy(window_.get() + wpos_, src, first);
    std::memcpy(window_.get(), src + first, n - first);
    wpos_ = static_cast<uint32_t>((wpos_ + n) & mask_);
    storedPos_ += n;
    total_ += n;
    return Status::Ok;
}

void LzxDecoder::emitFrame(size_t start, uint8_t* out, size_t outLen) const {
    size_t first = std::min<size_t>(outLen, windowSize_ - start);
    std::memcpy(out, window_.get() + start, first);
    std::memcpy(out + first, window_.get(), outLen - first);
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
