#include "zip_crypto.h"

#include <algorithm>
#include <cstring>

namespace arc::zip {

namespace {

// The CRC-32 step the traditional cipher mixes its keys with: the table
// update alone, without the usual inversions before and after.
struct CrcTable {
    uint32_t t[256];
    CrcTable() {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
    }
};
const CrcTable& crcTable() {
    static const CrcTable table;
    return table;
}
inline uint32_t crcStep(const uint32_t* t, uint32_t crc, uint8_t b) { return t[(crc ^ b) & 0xFF] ^ (crc >> 8); }

inline void updateKeys(const uint32_t* t, uint32_t* keys, uint8_t plain) {
    keys[0] = crcStep(t, keys[0], plain);
    keys[1] = (keys[1] + (keys[0] & 0xFF)) * 134775813u + 1;
    keys[2] = crcStep(t, keys[2], static_cast<uint8_t>(keys[1] >> 24));
}

inline uint8_t keystreamByte(const uint32_t* keys) {
    uint32_t temp = (keys[2] | 2) & 0xFFFF;
    return static_cast<uint8_t>((temp * (temp ^ 1)) >> 8);
}

}  // namespace

TraditionalCipher::~TraditionalCipher() {
    crypto::wipe(keys_, sizeof keys_);
    crypto::wipe(start_, sizeof start_);
}

bool TraditionalCipher::open(std::string_view password, const uint8_t header[kTraditionalHeader], uint8_t check,
                             int altCheck) {
    const uint32_t* t = crcTable().t;
    keys_[0] = 0x12345678;
    keys_[1] = 0x23456789;
    keys_[2] = 0x34567890;
    for (char c : password) updateKeys(t, keys_, static_cast<uint8_t>(c));
    uint8_t h[kTraditionalHeader];
    std::memcpy(h, header, sizeof h);
    decrypt(h, sizeof h);
    std::memcpy(start_, keys_, sizeof start_);
    const uint8_t last = h[kTraditionalHeader - 1];
    crypto::wipe(h, sizeof h);
    return last == check || (altCheck >= 0 && last == altCheck);
}

void TraditionalCipher::restart() { std::memcpy(keys_, start_, sizeof keys_); }

void TraditionalCipher::decrypt(uint8_t* p, size_t n) {
    const uint32_t* t = crcTable().t;
    uint32_t k[3] = {keys_[0], keys_[1], keys_[2]};
    for (size_t i = 0; i < n; ++i) {
        uint8_t plain = p[i] ^ keystreamByte(k);
        updateKeys(t, k, plain);
        p[i] = plain;
    }
    std::memcpy(keys_, k, sizeof keys_);
}

size_t aesSaltLength(uint8_t strength) {
    switch (strength) {
    case 1: return 8;
    case 2: return 12;
    case 3: return 16;
    default: return 0;
    }
}

bool AesCtrCipher::open(std::string_view password, uint8_t strength, const uint8_t* salt,
                        const uint8_t verifier[kAesVerifier]) {
    const size_t saltLen = aesSaltLength(strength);
    if (saltLen == 0) return false;
    // Key material: AES key, HMAC key (both twice the salt), verifier.
    const size_t keyLen = 2 * saltLen;
    uint8_t material[2 * 32 + kAesVerifier];
    crypto::pbkdf2HmacSha1(password, salt, saltLen, 1000, material, 2 * keyLen + kAesVerifier);
    const bool match = std::memcmp(material + 2 * keyLen, verifier, kAesVerifier) == 0;
    if (match) {
        aes_.setKey(material, keyLen);
        mac_ = std::make_unique<crypto::HmacSha1>(material + keyLen, keyLen);
        restart();
    }
    crypto::wipe(material, sizeof material);
    return match;
}

void AesCtrCipher::restart() {
    counter_ = 0;
    used_ = crypto::kAesBlock;
    if (mac_) mac_->restart();
}

void AesCtrCipher::decrypt(uint8_t* p, size_t n) {
    mac_->update(p, n);
    while (n > 0) {
        if (used_ == crypto::kAesBlock) {
            // The counter block is the block number, little-endian, from 1.
            uint8_t block[crypto::kAesBlock] = {};
            const uint64_t c = ++counter_;
            for (int b = 0; b < 8; ++b) block[b] = static_cast<uint8_t>(c >> (8 * b));
            aes_.encryptBlock(block, keystream_);
            used_ = 0;
        }
        const size_t take = std::min(n, crypto::kAesBlock - used_);
        for (size_t i = 0; i < take; ++i) p[i] ^= keystream_[used_ + i];
        used_ += take;
        p += take;
        n -= take;
    }
}

bool AesCtrCipher::authentic(const uint8_t code[kAesAuthCode]) {
    crypto::Sha1Digest d = mac_->finish();
    mac_->restart();
    return std::memcmp(d.data(), code, kAesAuthCode) == 0;
}

}  // namespace arc::zip
