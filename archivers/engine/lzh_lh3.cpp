// -lh3-: blocks of static Huffman codes over an 8 KiB dictionary. Unlike
// -lh5- the code lengths are sent one by one (a presence bit and 4 bits per
// literal/length symbol, 4 bits per position symbol), the position code may
// instead be a built-in fixed one, and the last of 286 literal/length symbols
// carries 8 extra bits for the longer match lengths.
#include "lzh_decoders.h"

namespace arc {

namespace {

constexpr int kLitSymbols = 286;         // 256 literals + 30 length codes (last one extended)
constexpr int kPosSymbols = 128;         // upper 7 bits of a 13-bit position
constexpr int kMinMatch = 3;
constexpr int kMaxCode = 510;            // 256 literals + lengths 3..256

struct Lh3Tables {
    LzhHuffman lit, pos;
    uint8_t lens[kLitSymbols];
};

// Three leading lengths of 1 cannot form a code; the format uses that
// combination to announce a one-symbol alphabet.
bool readLiteralLengths(LzhBitReader& br, Lh3Tables& t) {
    for (int i = 0; i < kLitSymbols; ++i) {
        t.lens[i] = br.get(1) ? static_cast<uint8_t>(br.get(4) + 1) : 0;
        if (i == 2 && t.lens[0] == 1 && t.lens[1] == 1 && t.lens[2] == 1) {
            int only = static_cast<int>(br.get(9));
            if (only >= kLitSymbols) return false;
            t.lit.buildSingle(static_cast<uint16_t>(only), 12);
            return true;
        }
        if (br.overrun()) return false;
    }
    return t.lit.build(t.lens, kLitSymbols, 12);
}

bool readPositionLengths(LzhBitReader& br, Lh3Tables& t) {
    for (int i = 0; i < kPosSymbols; ++i) {
        t.lens[i] = static_cast<uint8_t>(br.get(4));
        if (i == 2 && t.lens[0] == 1 && t.lens[1] == 1 && t.lens[2] == 1) {
            t.pos.buildSingle(static_cast<uint16_t>(br.get(7)), 8);
            return true;
        }
        if (br.overrun()) return false;
    }
    return t.pos.build(t.lens, kPosSymbols, 8);
}

// The built-in position code: 2 bits for symbol 0, growing by one bit at
// each listed symbol (two steps at symbol 1), 9 bits from symbol 78 on.
bool fixedPositionCode(Lh3Tables& t) {
    static const int steps[] = {1, 1, 3, 6, 13, 31, 78};
    int len = 2, s = 0;
    for (int i = 0; i < kPosSymbols; ++i) {
        while (s < 7 && steps[s] == i) ++len, ++s;
        t.lens[i] = static_cast<uint8_t>(len);
    }
    return t.pos.build(t.lens, kPosSymbols, 8);
}

}  // namespace

Status lzhDecodeLh3(LzhBitReader& br, LzhWindow& out) {
    auto t = std::make_unique<Lh3Tables>();
    uint32_t blockLeft = 0;
    while (out.remaining() > 0) {
        if (blockLeft == 0) {
            blockLeft = br.get(16);
            if (blockLeft == 0) blockLeft = 65536;
            bool ok = readLiteralLengths(br, *t);
            ok = ok && (br.get(1) ? readPositionLengths(br, *t) : fixedPositionCode(*t));
            if (br.overrun()) return Status::UnexpectedEof;
            if (!ok) return Status::BrokenData;
        }
        --blockLeft;
        br.refill();
        int c = t->lit.decode(br);
        if (c < 0) return Status::BrokenData;
        if (c == kLitSymbols - 1) c += static_cast<int>(br.get(8));
        if (c >= kMaxCode) return Status::BrokenData;
        if (c < 256) {
            out.put(static_cast<uint8_t>(c));
        } else {
            int hi = t->pos.decode(br);
            if (hi < 0) return Status::BrokenData;
            size_t dist = (static_cast<size_t>(hi) << 6 | br.get(6)) + 1;  // <= 8192
            out.copy(dist, static_cast<size_t>(c - 256 + kMinMatch));
        }
        if (br.overrun()) return Status::UnexpectedEof;
    }
    return Status::Ok;
}

}  // namespace arc
