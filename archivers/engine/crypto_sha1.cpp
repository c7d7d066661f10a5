#include "crypto_sha1.h"

#include <algorithm>
#include <cstring>

#include "big_endian.h"

namespace arc::crypto {

namespace {

inline uint32_t rotl(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

}  // namespace

void wipe(void* p, size_t n) {
    volatile uint8_t* b = static_cast<volatile uint8_t*>(p);
    while (n--) *b++ = 0;
}

void Sha1::reset() {
    h_[0] = 0x67452301;
    h_[1] = 0xEFCDAB89;
    h_[2] = 0x98BADCFE;
    h_[3] = 0x10325476;
    h_[4] = 0xC3D2E1F0;
    used_ = 0;
    total_ = 0;
}

void Sha1::compress(const uint8_t* block) {
    uint32_t w[80];
    for (int i = 0; i < 16; ++i) w[i] = be32(block + 4 * i);
    for (int i = 16; i < 80; ++i) w[i] = rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    uint32_t a = h_[0], b = h_[1], c = h_[2], d = h_[3], e = h_[4];
    for (int i = 0; i < 80; ++i) {
        uint32_t f, k;
        if (i < 20) f = (b & c) | (~b & d), k = 0x5A827999;
        else if (i < 40) f = b ^ c ^ d, k = 0x6ED9EBA1;
        else if (i < 60) f = (b & c) | (b & d) | (c & d), k = 0x8F1BBCDC;
        else f = b ^ c ^ d, k = 0xCA62C1D6;
        uint32_t t = rotl(a, 5) + f + e + k + w[i];
        e = d;
        d = c;
        c = rotl(b, 30);
        b = a;
        a = t;
    }
    h_[0] += a;
    h_[1] += b;
    h_[2] += c;
    h_[3] += d;
    h_[4] += e;
}

void Sha1::update(const uint8_t* data, size_t n) {
    total_ += n;
    if (used_ > 0) {
        size_t take = std::min(n, kSha1Block - used_);
        std::memcpy(buf_ + used_, data, take);
        used_ += take;
        data += take;
        n -= take;
        if (used_ < kSha1Block) return;
        compress(buf_);
        used_ = 0;
    }
    for (; n >= kSha1Block; data += kSha1Block, n -= kSha1Block) compress(data);
    std::memcpy(buf_, data, n);
    used_ = n;
}

Sha1Digest Sha1::finish() {
    const uint64_t bits = total_ * 8;
    // 0x80, zeros up to 56 bytes into a block, then the length in bits.
    uint8_t pad[kSha1Block + 8] = {0x80};
    size_t padLen = (used_ < 56 ? 56 : 120) - used_;
    putBe32(pad + padLen, static_cast<uint32_t>(bits >> 32));
    putBe32(pad + padLen + 4, static_cast<uint32_t>(bits));
    update(pad, padLen + 8);
    Sha1Digest out;
    for (int i = 0; i < 5; ++i) putBe32(out.data() + 4 * i, h_[i]);
    return out;
}

HmacSha1::HmacSha1(const uint8_t* key, size_t keyLen) {
    uint8_t block[kSha1Block] = {};
    if (keyLen > kSha1Block) {
        Sha1 h;
        h.update(key, keyLen);
        Sha1Digest d = h.finish();
        std::memcpy(block, d.data(), d.size());
    } else if (keyLen > 0) {
        std::memcpy(block, key, keyLen);
    }
    uint8_t pad[kSha1Block];
    for (size_t i = 0; i < kSha1Block; ++i) pad[i] = block[i] ^ 0x36;
    innerStart_.update(pad, sizeof pad);
    for (size_t i = 0; i < kSha1Block; ++i) pad[i] = block[i] ^ 0x5C;
    outerStart_.update(pad, sizeof pad);
    wipe(block, sizeof block);
    wipe(pad, sizeof pad);
    inner_ = innerStart_;
}

HmacSha1::~HmacSha1() {
    wipe(&innerStart_, sizeof innerStart_);
    wipe(&outerStart_, sizeof outerStart_);
    wipe(&inner_, sizeof inner_);
}

Sha1Digest HmacSha1::finish() {
    Sha1Digest innerDigest = inner_.finish();
    Sha1 outer = outerStart_;
    outer.update(innerDigest.data(), innerDigest.size());
    return outer.finish();
}

void pbkdf2HmacSha1(std::string_view password, const uint8_t* salt, size_t saltLen, uint32_t iterations,
                    uint8_t* out, size_t outLen) {
    HmacSha1 mac(reinterpret_cast<const uint8_t*>(password.data()), password.size());
    for (uint32_t blockIndex = 1; outLen > 0; ++blockIndex) {
        uint8_t counter[4];
        putBe32(counter, blockIndex);
        mac.restart();
        mac.update(salt, saltLen);
        mac.update(counter, sizeof counter);
        Sha1Digest u = mac.finish();
        Sha1Digest t = u;
        for (uint32_t i = 1; i < iterations; ++i) {
            mac.restart();
            mac.update(u.data(), u.size());
            u = mac.finish();
            for (size_t j = 0; j < t.size(); ++j) t[j] ^= u[j];
        }
        size_t take = std::min(outLen, t.size());
        std::memcpy(out, t.data(), take);
        out += take;
        outLen -= take;
        wipe(u.data(), u.size());
        wipe(t.data(), t.size());
    }
}

}  // namespace arc::crypto
