// The engine's cryptographic primitives against their published test
// vectors: FIPS-197 appendix C, FIPS 180 SHA-1 examples, RFC 2202
// (HMAC-SHA1) and RFC 6070 (PBKDF2-HMAC-SHA1); one row per key, message or
// output length class.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "crypto_aes.h"
#include "crypto_sha1.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes hex(const std::string& h) {
    Bytes out;
    for (size_t i = 0; i + 1 < h.size(); i += 2) out.push_back(static_cast<uint8_t>(std::stoi(h.substr(i, 2), nullptr, 16)));
    return out;
}
Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }
Bytes counting(uint8_t from, size_t n) {
    Bytes out(n);
    for (size_t i = 0; i < n; ++i) out[i] = static_cast<uint8_t>(from + i);
    return out;
}
std::string hexOf(const uint8_t* p, size_t n) {
    static const char* digits = "0123456789abcdef";
    std::string s;
    for (size_t i = 0; i < n; ++i) s += digits[p[i] >> 4], s += digits[p[i] & 15];
    return s;
}

struct AesCase {
    const char* label;
    Bytes key;
    const char* cipher;  // of the one plaintext block of appendix C
};

TEST(CryptoVectors, AesFips197) {
    const Bytes plain = hex("00112233445566778899aabbccddeeff");
    const AesCase cases[] = {
        {"C.1 AES-128", counting(0, 16), "69c4e0d86a7b0430d8cdb78070b4c55a"},
        {"C.2 AES-192", counting(0, 24), "dda97ca4864cdfe06eaf70a0ec0d7191"},
        {"C.3 AES-256", counting(0, 32), "8ea2b7ca516745bfeafc49904b496089"},
    };
    for (const AesCase& c : cases) {
        arc::crypto::Aes aes;
        ASSERT_TRUE(aes.setKey(c.key.data(), c.key.size())) << c.label;
        uint8_t out[16];
        aes.encryptBlock(plain.data(), out);
        EXPECT_EQ(hexOf(out, sizeof out), c.cipher) << c.label;
    }
    arc::crypto::Aes bad;
    EXPECT_FALSE(bad.setKey(plain.data(), 15));
}

struct DigestCase {
    const char* label;
    Bytes key;  // unused for SHA-1
    Bytes message;
    const char* digest;
};

TEST(CryptoVectors, Sha1Fips180) {
    const DigestCase cases[] = {
        {"empty", {}, {}, "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
        {"abc", {}, text("abc"), "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {"two blocks", {}, text("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
         "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
        {"million a", {}, Bytes(1000000, 'a'), "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
    };
    for (const DigestCase& c : cases) {
        arc::crypto::Sha1 whole;
        whole.update(c.message.data(), c.message.size());
        EXPECT_EQ(hexOf(whole.finish().data(), 20), c.digest) << c.label;
        // Fed in uneven pieces, the buffering across blocks must not matter.
        arc::crypto::Sha1 pieces;
        for (size_t at = 0, step = 1; at < c.message.size(); at += step, step = step * 3 % 97 + 1)
            pieces.update(c.message.data() + at, std::min(step, c.message.size() - at));
        EXPECT_EQ(hexOf(pieces.finish().data(), 20), c.digest) << c.label << " in pieces";
    }
}

TEST(CryptoVectors, HmacSha1Rfc2202) {
    const DigestCase cases[] = {
        {"1", Bytes(20, 0x0b), text("Hi There"), "b617318655057264e28bc0b6fb378c8ef146be00"},
        {"2", text("Jefe"), text("what do ya want for nothing?"), "effcdf6ae5eb2fa2d27416d5f184df9c259a7c79"},
        {"3", Bytes(20, 0xaa), Bytes(50, 0xdd), "125d7342b9ac11cd91a39af48aa17b4f63f175d3"},
        {"7", Bytes(80, 0xaa), text("Test Using Larger Than Block-Size Key and Larger Than One Block-Size Data"),
         "e8e99d0f45237d786d6bbaa7965c7808bbff1a91"},
    };
    for (const DigestCase& c : cases) {
        arc::crypto::HmacSha1 mac(c.key.data(), c.key.size());
        // Twice: restart() must bring back the keyed state exactly.
        for (int round = 0; round < 2; ++round) {
            mac.restart();
            mac.update(c.message.data(), c.message.size());
            EXPECT_EQ(hexOf(mac.finish().data(), 20), c.digest) << c.label << " round " << round;
        }
    }
}

struct Pbkdf2Case {
    std::string password, salt;
    uint32_t iterations;
    const char* key;  // its length in hex digits gives the length asked for
};

TEST(CryptoVectors, Pbkdf2HmacSha1Rfc6070) {
    // The 16777216-iteration case is left out: it takes minutes.
    const Pbkdf2Case cases[] = {
        {"password", "salt", 1, "0c60c80f961f0e71f3a9b524af6012062fe037a6"},
        {"password", "salt", 2, "ea6c014dc72d6f8ccd1ed92ace1d41f0d8de8957"},
        {"passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096,
         "3d2eec4fe41c849b80c8d83662c0e44a8b291a964cf2f07038"},
        {std::string("pass\0word", 9), std::string("sa\0lt", 5), 4096, "56fa6aa75548099dcc37d7f03425e0c3"},
    };
    for (const Pbkdf2Case& c : cases) {
        Bytes out(std::string(c.key).size() / 2);
        arc::crypto::pbkdf2HmacSha1(c.password, reinterpret_cast<const uint8_t*>(c.salt.data()), c.salt.size(),
                                    c.iterations, out.data(), out.size());
        EXPECT_EQ(hexOf(out.data(), out.size()), c.key) << c.password << " x" << c.iterations;
    }
}

}  // namespace
