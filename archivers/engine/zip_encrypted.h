// Encrypted ZIP members: finding the password that opens one (the archive's
// last good password first, then the caller's source), and the member's
// data decrypted on its way to the method decoders, so nothing is buffered
// beyond what the decoders read anyway.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "byte_source.h"
#include "password_source.h"
#include "status.h"
#include "zip_crypto.h"
#include "zip_decode.h"
#include "zip_directory.h"

namespace arc::zip {

// The plaintext of an encrypted member's data, decrypted as it is read.
// Decoders read front to back; a read before the current position starts
// the cipher over (a decoder retrying from the start), one after it
// decrypts the bytes in between.
class DecryptingSource final : public ByteSource {
public:
    DecryptingSource(ByteSource& base, DataRange data, MemberCipher& cipher);
    uint64_t size() const override { return data_.packed; }
    size_t readAt(uint64_t offset, uint8_t* dst, size_t n) override;
    // Takes the bytes no decoder read through the cipher as well (the AES
    // authentication covers every one); false when they cannot be read.
    bool drain();

private:
    bool seek(uint64_t offset);
    ByteSource& base_;
    DataRange data_;
    MemberCipher& cipher_;
    uint64_t pos_ = 0;
    std::vector<uint8_t> scratch_;
};

// One unlocked member: its cipher, ready at the first data byte, and where
// that data lies (headers and trailers of the encryption excluded).
struct Unlocked {
    std::unique_ptr<MemberCipher> cipher;
    DataRange data;
    AesCtrCipher* aes = nullptr;  // the same cipher when it is AES, which has a code to check
    DataRange authCode;           // AES only
};

// The password state of one archive: the password that opened the last
// member is tried first on the next one, so a user is asked once.
class PasswordKeeper {
public:
    PasswordKeeper() = default;
    ~PasswordKeeper();
    PasswordKeeper(const PasswordKeeper&) = delete;
    PasswordKeeper& operator=(const PasswordKeeper&) = delete;

    // Ok with *out filled; PasswordFile when no password fits and the source
    // has none (more) to offer or there is no source; UserCancel when the
    // source cancels; BrokenData or UnexpectedEof when the encryption header
    // does not fit in the member's data; CannotRead.
    Status unlock(ByteSource& src, const Entry& e, DataRange packed, PasswordSource* source, Unlocked* out);

private:
    std::string last_;
    bool haveLast_ = false;
};

}  // namespace arc::zip
