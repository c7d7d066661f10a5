// Quantum decoder: LZ77 over a 2^10..2^21 byte window, every symbol coded with
// a 16-bit arithmetic coder and one of seven adaptive frequency models.
//
// Where real cabinets differ from the published description: the coder's
// registers are re-initialised at the start of every CFDATA block (one block
// is one frame of at most 32 KiB of output), while the models and the window
// carry on through the folder; a block may end with up to four padding bytes,
// and the coder may look a few bits beyond the last byte, which read as zero.
#include <algorithm>
#include <vector>

#include "cab_block_decoder.h"
#include "cab_quantum_model.h"

namespace arc {
namespace {

using namespace quantum;

// MSB-first bits of one block. Past the end it yields zeros, up to a few
// bytes: the coder's lookahead; more than that means the data is cut short.
class BitReader {
public:
    BitReader(const uint8_t* p, size_t n) : p_(p), n_(n) {}
    unsigned bit() {
        if (bitsLeft_ == 0) {
            if (pos_ < n_) cur_ = p_[pos_];
            else {
                cur_ = 0;
                if (pos_ - n_ >= kSlack) overrun_ = true;
            }
            ++pos_;
            bitsLeft_ = 8;
        }
        --bitsLeft_;
        return (cur_ >> bitsLeft_) & 1;
    }
    uint32_t bits(unsigned count) {  // count <= 19 (kPositionExtra's largest)
        uint32_t v = 0;
        while (count--) v = (v << 1) | bit();
        return v;
    }
    bool overrun() const { return overrun_; }

private:
    static constexpr size_t kSlack = 4;
    const uint8_t* p_;
    size_t n_, pos_ = 0;
    unsigned cur_ = 0, bitsLeft_ = 0;
    bool overrun_ = false;
};

class QuantumDecoder final : public CabBlockDecoder {
public:
    explicit QuantumDecoder(unsigned windowBits) : window_(size_t(1) << windowBits) {
        for (unsigned i = 0; i < 4; ++i) literal_[i].init(64 * i, 64);
        // Offset slots the window can use: 2 per window bit, capped by each selector's table.
        const unsigned slots = 2 * windowBits;
        match3_.init(0, std::min(slots, 24u));
        match4_.init(0, std::min(slots, 36u));
        matchLong_.init(0, std::min(slots, 42u));
        length_.init(0, 27);
        selector_.init(0, 7);
    }

    Status decodeBlock(const uint8_t* in, size_t inLen, uint8_t* out, size_t outLen) override {
        BitReader br(in, inLen);
        low_ = 0;
        high_ = 0xFFFF;
        code_ = static_cast<uint16_t>(br.bits(16));
        const size_t mask = window_.size() - 1;
        size_t done = 0;
        while (done < outLen) {
            unsigned selector;
            if (!decode(selector_, br, &selector)) return Status::BrokenData;
            if (selector < 4) {
                unsigned lit;
                if (!decode(literal_[selector], br, &lit)) return Status::BrokenData;
                out[done++] = window_[windowPos_] = static_cast<uint8_t>(lit);
                windowPos_ = (windowPos_ + 1) & mask;
                ++total_;
                continue;
            }
            unsigned slot, length;
            if (selector == 4 || selector == 5) {
                if (!decode(selector == 4 ? match3_ : match4_, br, &slot)) return Status::BrokenData;
                length = selector == 4 ? 3 : 4;
            } else {
                unsigned lslot;
                if (!decode(length_, br, &lslot)) return Status::BrokenData;
                length = kLengthBase[lslot] + br.bits(kLengthExtra[lslot]) + 5;
                if (!decode(matchLong_, br, &slot)) return Status::BrokenData;
            }
            const uint64_t offset = kPositionBase[slot] + br.bits(kPositionExtra[slot]) + 1;
            // A match reaches only bytes already decoded in this folder and
            // never runs past the block: the coder restarts at block ends.
            if (br.overrun() || offset > total_ || offset > window_.size() || length > outLen - done)
                return Status::BrokenData;
            size_t from = (windowPos_ - static_cast<size_t>(offset)) & mask;
            for (unsigned k = 0; k < length; ++k) {
                out[done++] = window_[windowPos_] = window_[from];
                windowPos_ = (windowPos_ + 1) & mask;
                from = (from + 1) & mask;
            }
            total_ += length;
        }
        return br.overrun() ? Status::BrokenData : Status::Ok;
    }

private:
    // Decodes one symbol with `m`, updates the model and renormalises the coder.
    bool decode(Model& m, BitReader& br, unsigned* symbol) {
        const uint32_t range = uint32_t(high_) - low_ + 1;
        const uint32_t total = m.cum[0];
        if (code_ < low_ || code_ > high_ || range == 0 || br.overrun()) return false;
        const uint32_t target = ((uint32_t(code_) - low_ + 1) * total - 1) / range;
        unsigned i = 1;
        while (i < m.entries && m.cum[i] > target) ++i;
        *symbol = m.sym[i - 1];
        high_ = static_cast<uint16_t>(low_ + (m.cum[i - 1] * range) / total - 1);
        low_ = static_cast<uint16_t>(low_ + (m.cum[i] * range) / total);
        bump(m, i - 1);
        // Shift out settled top bits; when the interval straddles the middle
        // too narrowly (low 01..., high 10...), drop the second bit instead.
        // Each turn doubles the interval, so this ends within 16 turns.
        for (;;) {
            if ((low_ ^ high_) & 0x8000) {
                if (!((low_ & 0x4000) && !(high_ & 0x4000))) break;
                code_ ^= 0x4000;
                low_ &= 0x3FFF;
                high_ |= 0x4000;
            }
            low_ = static_cast<uint16_t>(low_ << 1);
            high_ = static_cast<uint16_t>((high_ << 1) | 1);
            code_ = static_cast<uint16_t>((code_ << 1) | br.bit());
        }
        return true;
    }

    std::vector<uint8_t> window_;  // 2^windowBits, at most 2 MiB
    size_t windowPos_ = 0;
    uint64_t total_ = 0;  // bytes decoded in this folder so far
    uint16_t low_ = 0, high_ = 0xFFFF, code_ = 0;
    Model literal_[4];  // selectors 0-3: bytes 0-63, 64-127, 128-191, 192-255
    Model match3_, match4_, matchLong_, length_, selector_;
};

}  // namespace

std::unique_ptr<CabBlockDecoder> makeQuantumDecoder(unsigned windowBits) {
    if (windowBits < 10 || windowBits > 21) return nullptr;
    return std::make_unique<QuantumDecoder>(windowBits);
}

}  // namespace arc
