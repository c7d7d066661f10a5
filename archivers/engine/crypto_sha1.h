// SHA-1, HMAC-SHA1 and PBKDF2-HMAC-SHA1: what ZIP's AES encryption needs to
// turn a password into keys and to authenticate the encrypted data.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace arc::crypto {

constexpr size_t kSha1Size = 20;
constexpr size_t kSha1Block = 64;
using Sha1Digest = std::array<uint8_t, kSha1Size>;

class Sha1 {
public:
    Sha1() { reset(); }
    void reset();
    void update(const uint8_t* data, size_t n);
    Sha1Digest finish();  // the object must be reset before it is used again

private:
    void compress(const uint8_t* block);
    uint32_t h_[5];
    uint8_t buf_[kSha1Block];
    size_t used_ = 0;
    uint64_t total_ = 0;  // bytes hashed so far
};

// HMAC-SHA1 whose keyed starting states are kept, so restart() costs nothing
// (PBKDF2 and a rewound authentication both start over many times).
class HmacSha1 {
public:
    HmacSha1(const uint8_t* key, size_t keyLen);
    ~HmacSha1();
    HmacSha1(const HmacSha1&) = delete;
    HmacSha1& operator=(const HmacSha1&) = delete;
    void restart() { inner_ = innerStart_; }
    void update(const uint8_t* data, size_t n) { inner_.update(data, n); }
    Sha1Digest finish();  // then restart() before the next message

private:
    Sha1 innerStart_, outerStart_, inner_;
};

// PBKDF2 with HMAC-SHA1 (RFC 8018): `outLen` bytes of key material.
void pbkdf2HmacSha1(std::string_view password, const uint8_t* salt, size_t saltLen, uint32_t iterations,
                    uint8_t* out, size_t outLen);

// Overwrites secrets so that they do not linger in freed memory.
void wipe(void* p, size_t n);

}  // namespace arc::crypto
