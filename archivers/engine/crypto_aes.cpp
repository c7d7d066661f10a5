// Table-driven AES: the S-box and the four combined SubBytes/MixColumns tables
// are computed once from the field arithmetic instead of being typed in.
#include "crypto_aes.h"

#include "big_endian.h"
#include "crypto_sha1.h"

namespace arc::crypto {

namespace {

// Multiplication in GF(2^8) modulo x^8 + x^4 + x^3 + x + 1.
uint8_t gfMul(uint8_t a, uint8_t b) {
    uint8_t r = 0;
    while (b) {
        if (b & 1) r ^= a;
        a = static_cast<uint8_t>((a << 1) ^ ((a & 0x80) ? 0x1B : 0));
        b >>= 1;
    }
    return r;
}

inline uint8_t rotl8(uint8_t x, int n) { return static_cast<uint8_t>((x << n) | (x >> (8 - n))); }
inline uint32_t rotr32(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

struct Tables {
    uint8_t sbox[256];
    uint32_t te[4][256];  // te[k] = te[0] rotated right by 8k bits

    Tables() {
        for (int a = 0; a < 256; ++a) {
            // Multiplicative inverse (0 maps to 0), then the affine map.
            uint8_t inv = 0;
            for (int b = 1; b < 256 && a != 0; ++b)
                if (gfMul(static_cast<uint8_t>(a), static_cast<uint8_t>(b)) == 1) {
                    inv = static_cast<uint8_t>(b);
                    break;
                }
            sbox[a] = static_cast<uint8_t>(inv ^ rotl8(inv, 1) ^ rotl8(inv, 2) ^ rotl8(inv, 3) ^ rotl8(inv, 4) ^ 0x63);
        }
        for (int a = 0; a < 256; ++a) {
            uint8_t s = sbox[a];
            // One column of MixColumns applied to (s, 0, 0, 0): 2s, s, s, 3s from the top byte down.
            te[0][a] = (uint32_t{gfMul(s, 2)} << 24) | (uint32_t{s} << 16) | (uint32_t{s} << 8) | gfMul(s, 3);
            for (int k = 1; k < 4; ++k) te[k][a] = rotr32(te[0][a], 8 * k);
        }
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}


uint32_t subWord(const uint8_t* sbox, uint32_t w) {
    return (uint32_t{sbox[w >> 24]} << 24) | (uint32_t{sbox[(w >> 16) & 0xFF]} << 16) |
           (uint32_t{sbox[(w >> 8) & 0xFF]} << 8) | sbox[w & 0xFF];
}

}  // namespace

Aes::~Aes() { wipe(roundKeys_, sizeof roundKeys_); }

bool Aes::setKey(const uint8_t* key, size_t keyLen) {
    if (keyLen != 16 && keyLen != 24 && keyLen != 32) return false;
    const uint8_t* sbox = tables().sbox;
    const int nk = static_cast<int>(keyLen / 4);
    rounds_ = nk + 6;
    const int words = 4 * (rounds_ + 1);  // at most 60
    for (int i = 0; i < nk; ++i) roundKeys_[i] = be32(key + 4 * i);
    uint8_t rcon = 1;
    for (int i = nk; i < words; ++i) {
        uint32_t t = roundKeys_[i - 1];
        if (i % nk == 0) {
            t = subWord(sbox, (t << 8) | (t >> 24)) ^ (uint32_t{rcon} << 24);
            rcon = gfMul(rcon, 2);
        } else if (nk > 6 && i % nk == 4) {
            t = subWord(sbox, t);
        }
        roundKeys_[i] = roundKeys_[i - nk] ^ t;
    }
    return true;
}

void Aes::encryptBlock(const uint8_t in[kAesBlock], uint8_t out[kAesBlock]) const {
    const Tables& tb = tables();
    const uint32_t* rk = roundKeys_;
    uint32_t s0 = be32(in) ^ rk[0], s1 = be32(in + 4) ^ rk[1], s2 = be32(in + 8) ^ rk[2], s3 = be32(in + 12) ^ rk[3];
    // Each output column takes its bytes from the diagonal ShiftRows leaves in it.
    auto column = [&tb](uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t k) {
        return tb.te[0][a >> 24] ^ tb.te[1][(b >> 16) & 0xFF] ^ tb.te[2][(c >> 8) & 0xFF] ^ tb.te[3][d & 0xFF] ^ k;
    };
    for (int r = 1; r < rounds_; ++r) {
        rk += 4;
        uint32_t t0 = column(s0, s1, s2, s3, rk[0]);
        uint32_t t1 = column(s1, s2, s3, s0, rk[1]);
        uint32_t t2 = column(s2, s3, s0, s1, rk[2]);
        uint32_t t3 = column(s3, s0, s1, s2, rk[3]);
        s0 = t0, s1 = t1, s2 = t2, s3 = t3;
    }
    rk += 4;
    // The last round has no MixColumns.
    auto last = [&tb](uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t k) {
        return ((uint32_t{tb.sbox[a >> 24]} << 24) | (uint32_t{tb.sbox[(b >> 16) & 0xFF]} << 16) |
                (uint32_t{tb.sbox[(c >> 8) & 0xFF]} << 8) | tb.sbox[d & 0xFF]) ^
               k;
    };
    putBe32(out, last(s0, s1, s2, s3, rk[0]));
    putBe32(out + 4, last(s1, s2, s3, s0, rk[1]));
    putBe32(out + 8, last(s2, s3, s0, s1, rk[2]));
    putBe32(out + 12, last(s3, s0, s1, s2, rk[3]));
}

}  // namespace arc::crypto
