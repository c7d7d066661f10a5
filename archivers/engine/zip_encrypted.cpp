#include "zip_encrypted.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "crypto_sha1.h"
#include "zip_format.h"

namespace arc::zip {

namespace {

constexpr size_t kScratch = 64 * 1024;

// A source that keeps answering wrong passwords must not hold the
// extraction forever.
constexpr int kMaxAttempts = 1000;

}  // namespace

DecryptingSource::DecryptingSource(ByteSource& base, DataRange data, MemberCipher& cipher)
    : base_(base), data_(data), cipher_(cipher) {}

bool DecryptingSource::seek(uint64_t offset) {
    if (offset < pos_) {
        cipher_.restart();
        pos_ = 0;
    }
    if (offset > pos_ && scratch_.empty()) scratch_.resize(kScratch);
    while (pos_ < offset) {
        size_t want = static_cast<size_t>(std::min<uint64_t>(offset - pos_, scratch_.size()));
        size_t got = base_.readAt(data_.offset + pos_, scratch_.data(), want);
        if (got == 0) return false;
        cipher_.decrypt(scratch_.data(), got);
        pos_ += got;
    }
    return true;
}

size_t DecryptingSource::readAt(uint64_t offset, uint8_t* dst, size_t n) {
    if (offset >= data_.packed || !seek(offset)) return 0;
    n = static_cast<size_t>(std::min<uint64_t>(n, data_.packed - offset));
    size_t got = base_.readAt(data_.offset + offset, dst, n);
    cipher_.decrypt(dst, got);
    pos_ += got;
    return got;
}

bool DecryptingSource::drain() { return seek(data_.packed) && pos_ == data_.packed; }

PasswordKeeper::~PasswordKeeper() { crypto::wipe(last_.data(), last_.size()); }

Status PasswordKeeper::unlock(ByteSource& src, const Entry& e, DataRange packed, PasswordSource* source,
                              Unlocked* out) {
    const Member& m = e.member;
    const bool aes = e.method == kMethodAes;
    const size_t saltLen = aes ? aesSaltLength(e.aes.strength) : 0;
    if (aes && saltLen == 0) return Status::Method;
    const size_t head = aes ? saltLen + kAesVerifier : kTraditionalHeader;
    const size_t tail = aes ? kAesAuthCode : 0;
    if (packed.packed < head + tail) return Status::BrokenData;
    uint8_t header[16 + kAesVerifier];
    if (!src.readExact(packed.offset, header, head)) return Status::CannotRead;

    std::function<bool(const std::string&)> fits;
    std::unique_ptr<AesCtrCipher> aesCipher;
    std::unique_ptr<TraditionalCipher> oldCipher;
    if (aes) {
        aesCipher = std::make_unique<AesCtrCipher>();
        const uint8_t strength = e.aes.strength;
        fits = [&aesCipher, &header, strength, saltLen](const std::string& pw) {
            return aesCipher->open(pw, strength, header, header + saltLen);
        };
    } else {
        oldCipher = std::make_unique<TraditionalCipher>();
        const uint8_t crcCheck = static_cast<uint8_t>(m.crc >> 24);
        const uint8_t timeCheck = static_cast<uint8_t>(m.dosTime >> 8);
        const bool descriptor = e.flags & kFlagDescriptor;
        const uint8_t check = descriptor ? timeCheck : crcCheck;
        const int altCheck = descriptor ? crcCheck : -1;
        fits = [&oldCipher, &header, check, altCheck](const std::string& pw) {
            return oldCipher->open(pw, header, check, altCheck);
        };
    }

    bool opened = haveLast_ && fits(last_);
    for (int attempt = 1; !opened; ++attempt) {
        if (!source || attempt > kMaxAttempts) return Status::PasswordFile;
        std::string pw;
        PasswordReply reply = source->ask(m.name, attempt, &pw);
        if (reply == PasswordReply::Cancel) return Status::UserCancel;
        if (reply != PasswordReply::Given) return Status::PasswordFile;
        opened = fits(pw);
        if (opened) {
            crypto::wipe(last_.data(), last_.size());
            last_ = pw;
            haveLast_ = true;
        }
        crypto::wipe(pw.data(), pw.size());
    }

    out->aes = aesCipher.get();
    out->data = DataRange{packed.offset + head, packed.packed - head - tail};
    out->authCode = DataRange{packed.offset + packed.packed - tail, tail};
    if (aes)
        out->cipher = std::move(aesCipher);
    else
        out->cipher = std::move(oldCipher);
    return Status::Ok;
}

}  // namespace arc::zip
