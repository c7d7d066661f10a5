// AES block encryption (FIPS-197) with 128, 192 and 256-bit keys. Only the
// forward direction: the counter mode ZIP uses never runs the cipher backwards.
#pragma once

#include <cstddef>
#include <cstdint>

namespace arc::crypto {

constexpr size_t kAesBlock = 16;

class Aes {
public:
    Aes() = default;
    ~Aes();
    Aes(const Aes&) = delete;
    Aes& operator=(const Aes&) = delete;
    // keyLen 16, 24 or 32 bytes; false for any other length.
    bool setKey(const uint8_t* key, size_t keyLen);
    void encryptBlock(const uint8_t in[kAesBlock], uint8_t out[kAesBlock]) const;

private:
    // 4 words per round key; 14 rounds (256-bit keys) need 15 of them.
    uint32_t roundKeys_[60] = {};
    int rounds_ = 0;
};

}  // namespace arc::crypto
