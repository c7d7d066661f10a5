// The two encryptions ZIP members use, each as a cipher that decrypts the
// member's data front to back: the traditional PKWARE stream cipher and
// WinZip's AES in counter mode with an HMAC-SHA1 authentication code.
//
// Where real archives differ from the published format description:
// - With a data descriptor (flag bit 3) the header's check byte is meant to be
//   the high byte of the DOS time, since the CRC is not known when the header
//   is written; some writers put the CRC's high byte there all the same, so
//   both are accepted for such members.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "crypto_aes.h"
#include "crypto_sha1.h"

namespace arc::zip {

class MemberCipher {
public:
    virtual ~MemberCipher() = default;
    // Back to the state before the first data byte.
    virtual void restart() = 0;
    // Decrypts the next n data bytes in place.
    virtual void decrypt(uint8_t* p, size_t n) = 0;
};

// Traditional encryption: 12 encrypted header bytes before the data.
constexpr size_t kTraditionalHeader = 12;

class TraditionalCipher final : public MemberCipher {
public:
    ~TraditionalCipher() override;
    // Keys from the password, then the header through them: true when its
    // last byte equals `check` (or `altCheck` when that is 0..255).
    bool open(std::string_view password, const uint8_t header[kTraditionalHeader], uint8_t check, int altCheck);
    void restart() override;
    void decrypt(uint8_t* p, size_t n) override;

private:
    uint32_t keys_[3] = {}, start_[3] = {};
};

// WinZip AES: salt, 2-byte password verifier, data, 10-byte authentication code.
constexpr size_t kAesVerifier = 2;
constexpr size_t kAesAuthCode = 10;
// Salt length for AES strength 1, 2, 3 (128, 192, 256-bit keys); 0 for others.
size_t aesSaltLength(uint8_t strength);

class AesCtrCipher final : public MemberCipher {
public:
    // Derives the keys from password and salt: true when the derived
    // verifier equals `verifier`. `strength` must be 1, 2 or 3.
    bool open(std::string_view password, uint8_t strength, const uint8_t* salt, const uint8_t verifier[kAesVerifier]);
    void restart() override;
    // Authenticates the encrypted bytes, then decrypts them.
    void decrypt(uint8_t* p, size_t n) override;
    // After every data byte went through decrypt(): whether the stored code matches.
    bool authentic(const uint8_t code[kAesAuthCode]);

private:
    crypto::Aes aes_;
    std::unique_ptr<crypto::HmacSha1> mac_;
    uint64_t counter_ = 0;             // of the block in keystream_, counted from 1
    uint8_t keystream_[crypto::kAesBlock] = {};
    size_t used_ = crypto::kAesBlock;  // keystream bytes already spent
};

}  // namespace arc::zip
