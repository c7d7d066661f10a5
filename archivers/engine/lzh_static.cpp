// -lh4- to -lh7- (and UNLHA32's -lhx-): blocks of up to 65536 codes, each
// block headed by three canonical Huffman code tables (code lengths, then
// literals/lengths, then position bit counts).
//
// Where real archives differ from the usual description: -lh4- sends its
// position table with the same 14 entries as -lh5- although its dictionary
// is only 4 KiB, and a block size of 0 is read as 65536 codes.
#include "lzh_decoders.h"

namespace arc {

namespace {

constexpr int kLitCodes = 510;     // 256 literals + match lengths 3..256
constexpr int kLenCodes = 19;      // code-length alphabet: 3 zero-run codes + lengths 1..16
constexpr int kMaxPosCodes = 24;   // position bit counts 0..dictBits; dictBits <= 20 (-lhx-)
constexpr int kMinMatch = 3;

struct Tables {
    LzhHuffman lit, pos, len;
    uint8_t litLen[kLitCodes];
    uint8_t small[kMaxPosCodes];
};

// Code lengths of the small alphabets: 3 bits each, 7 extended by a unary
// tail; for the code-length alphabet a 2-bit run of zeros follows the 3rd.
bool readSmallTable(LzhBitReader& br, LzhHuffman& h, uint8_t* lens, int codes, int countBits, int zeroRunAt) {
    int n = static_cast<int>(br.get(countBits));
    if (n == 0) {
        int only = static_cast<int>(br.get(countBits));
        if (only >= codes) return false;
        h.buildSingle(static_cast<uint16_t>(only), 8);
        return true;
    }
    if (n > codes) return false;
    int i = 0;
    while (i < n) {
        int c = static_cast<int>(br.get(3));
        if (c == 7) {
            while (br.get(1)) {
                if (++c > LzhHuffman::kMaxLength) return false;
            }
        }
        lens[i++] = static_cast<uint8_t>(c);
        if (i == zeroRunAt) {
            int zeros = static_cast<int>(br.get(2));
            if (i + zeros > codes) return false;
            while (zeros--) lens[i++] = 0;
        }
    }
    while (i < codes) lens[i++] = 0;
    return h.build(lens, codes, 8);
}

bool readLiteralTable(LzhBitReader& br, Tables& t) {
    int n = static_cast<int>(br.get(9));
    if (n == 0) {
        int only = static_cast<int>(br.get(9));
        if (only >= kLitCodes) return false;
        t.lit.buildSingle(static_cast<uint16_t>(only), 12);
        return true;
    }
    if (n > kLitCodes) return false;
    int i = 0;
    while (i < n) {
        int c = t.len.decode(br);
        if (c < 0) return false;
        if (c <= 2) {
            int zeros = c == 0 ? 1 : c == 1 ? static_cast<int>(br.get(4)) + 3 : static_cast<int>(br.get(9)) + 20;
            if (i + zeros > kLitCodes) return false;
            while (zeros--) t.litLen[i++] = 0;
        } else {
            t.litLen[i++] = static_cast<uint8_t>(c - 2);
        }
        if (br.overrun()) return false;
    }
    while (i < kLitCodes) t.litLen[i++] = 0;
    return t.lit.build(t.litLen, kLitCodes, 12);
}

}  // namespace

Status lzhDecodeStatic(LzhBitReader& br, LzhWindow& out, int dictBits) {
    const int posCodes = (dictBits < 13 ? 13 : dictBits) + 1;
    const int posCountBits = dictBits >= 15 ? 5 : 4;  // -lh6- on: 16+ position codes
    auto t = std::make_unique<Tables>();
    uint32_t blockLeft = 0;
    while (out.remaining() > 0) {
        if (blockLeft == 0) {
            blockLeft = br.get(16);
            if (blockLeft == 0) blockLeft = 65536;
            if (!readSmallTable(br, t->len, t->small, kLenCodes, 5, 3) || !readLiteralTable(br, *t) ||
                !readSmallTable(br, t->pos, t->small, posCodes, posCountBits, -1))
                return br.overrun() ? Status::UnexpectedEof : Status::BrokenData;
            if (br.overrun()) return Status::UnexpectedEof;
        }
        --blockLeft;
        // 32 bits cover a literal/length code and a position code (<= 16
        // each); only the extra position bits (<= 19 for -lhx-) test again.
        br.ensure(2 * LzhHuffman::kMaxLength);
        int c = t->lit.decodeBuffered(br);
        if (c < 0) return Status::BrokenData;
        if (c < 256) {
            out.put(static_cast<uint8_t>(c));
        } else {
            int p = t->pos.decodeBuffered(br);
            if (p < 0) return Status::BrokenData;
            uint32_t dist = p <= 1 ? static_cast<uint32_t>(p) : (1u << (p - 1)) + br.get(p - 1);
            // dist + 1 <= 2^dictBits by construction of the position alphabet,
            // and the window is at least that large.
            out.copy(dist + 1, static_cast<size_t>(c - 256 + kMinMatch));
        }
        if (br.overrun()) return Status::UnexpectedEof;
    }
    return Status::Ok;
}

}  // namespace arc
