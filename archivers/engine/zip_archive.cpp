// The ZIP reader: member list from the central directory, extraction through
// the local headers. Sizes, CRCs and names come from the central directory,
// which is also what makes members written with data descriptors readable
// without scanning for the descriptor. Local headers are only trusted for
// their name and extra lengths: writers using descriptors leave zeros in
// their size and CRC fields. An archive cut off before its directory falls
// back to walking the local headers (zip_recovery).
#include <memory>

#include "archive.h"
#include "zip_decode.h"
#include "zip_directory.h"
#include "zip_encrypted.h"
#include "zip_format.h"
#include "zip_recovery.h"

namespace arc {

namespace {

// Deflate cannot expand beyond 1032:1 (a 258-byte match costs at least two
// bits); a promise beyond that, plus room for block headers, is a lie.
constexpr uint64_t kMaxDeflateRatio = 1032;
constexpr uint64_t kDeflateSlack = 1024;

class ZipArchive final : public Archive {
public:
    ZipArchive(ByteSource& src, zip::Directory dir) : src_(src), dir_(std::move(dir)) {
        members_.reserve(dir_.entries.size());
        for (const auto& e : dir_.entries) members_.push_back(e.member);
    }

    const std::vector<Member>& members() const override { return members_; }

    Status extract(const std::vector<bool>& wanted, ExtractTarget& target) override {
        Status first = Status::Ok;
        for (size_t i = 0; i < dir_.entries.size() && i < wanted.size(); ++i) {
            if (!wanted[i]) continue;
            OutputSink* sink = target.begin(i);
            if (!sink) continue;
            Status st = extractOne(dir_.entries[i], *sink, target.passwords());
            target.end(i, st);
            if (ok(st)) continue;
            first = combined(first, st);
            if (st == Status::CannotWrite) break;  // the caller asked to stop
        }
        return first;
    }

private:
    // Where the member's data starts, read from its local header (whose name
    // and extra lengths may differ from the central copy). Tries the stored
    // offset as well when the shifted one misses: some SFX builders adjust the
    // directory offset but not the members' offsets, or the other way round.
    Status dataStart(const zip::Entry& e, uint64_t* start) {
        Status st = localHeaderAt(e.localOffset, start);
        if (st == Status::HeaderBroken && e.storedOffset != e.localOffset) {
            uint64_t other = 0;
            if (ok(localHeaderAt(e.storedOffset, &other))) {
                *start = other;
                return Status::Ok;
            }
        }
        return st;
    }

    Status localHeaderAt(uint64_t offset, uint64_t* start) {
        const uint64_t fileSize = src_.size();
        uint8_t h[zip::kLocalHeaderSize];
        if (offset >= fileSize || fileSize - offset < sizeof h) return Status::HeaderBroken;
        if (!src_.readExact(offset, h, sizeof h)) return Status::CannotRead;
        if (zip::le32(h) != zip::kLocalSig) return Status::HeaderBroken;
        *start = offset + sizeof h + zip::le16(h + 26) + zip::le16(h + 28);
        return Status::Ok;
    }

    Status extractOne(const zip::Entry& e, OutputSink& sink, PasswordSource* passwords) {
        const Member& m = e.member;
        if (m.isFolder && m.size == 0) return Status::Ok;
        // PKWARE's strong encryption (certificates, other ciphers) is not read.
        if (e.flags & zip::kFlagStrongEncryption) return Status::PasswordFile;
        uint16_t method = e.method;
        if (method == zip::kMethodAes) {
            if (e.aes.version == 0) return Status::HeaderBroken;
            method = e.aes.method;
        }
        // PPMd (variant I) is known but not decoded here: said as such, not as an unknown method.
        if (method == zip::kMethodPpmd) return Status::NotSupport;
        if (!zip::methodDecoded(method)) return Status::Method;
        if (e.cutOff) return Status::UnexpectedEof;
        // Reject sizes the file cannot back before a byte is read or written.
        const uint64_t fileSize = src_.size();
        if (m.packedSize > fileSize) return Status::TooBig;
        if (method == zip::kMethodDeflate && m.size > m.packedSize * kMaxDeflateRatio + kDeflateSlack)
            return Status::TooBig;
        uint64_t start = 0;
        Status st = dataStart(e, &start);
        if (!ok(st)) return st;
        if (start > fileSize || m.packedSize > fileSize - start) return Status::UnexpectedEof;
        zip::DataRange range{start, m.packedSize};
        const zip::MemberFacts facts{m.size, e.flags};
        if (!m.encrypted) return decoder_.decode(method, src_, range, facts, m.crc, sink);
        return extractEncrypted(e, method, range, facts, sink, passwords);
    }

    Status extractEncrypted(const zip::Entry& e, uint16_t method, zip::DataRange range, const zip::MemberFacts& facts,
                            OutputSink& sink, PasswordSource* passwords) {
        zip::Unlocked u;
        Status st = passwordKeeper_.unlock(src_, e, range, passwords, &u);
        if (!ok(st)) return st;
        zip::DecryptingSource plain(src_, u.data, *u.cipher);
        // AE-2 stores no CRC: its authentication code is the only check.
        std::optional<uint32_t> crc;
        if (!(u.aes && e.aes.version == 2)) crc = e.member.crc;
        st = decoder_.decode(method, plain, zip::DataRange{0, u.data.packed}, facts, crc, sink);
        if (!u.aes || !ok(st)) return st;
        uint8_t code[zip::kAesAuthCode];
        if (!plain.drain() || !src_.readExact(u.authCode.offset, code, sizeof code)) return Status::CannotRead;
        // Data that decoded but whose code differs was altered: the bytes are not trusted.
        return u.aes->authentic(code) ? Status::Ok : Status::FileCrc;
    }

    ByteSource& src_;
    zip::Directory dir_;
    std::vector<Member> members_;
    zip::MemberDecoder decoder_;
    zip::PasswordKeeper passwordKeeper_;
};

}  // namespace

std::unique_ptr<Archive> openZip(ByteSource& src, Status* error) {
    zip::Directory dir;
    Status st = zip::readDirectory(src, &dir);
    if (st == Status::UnexpectedEof) {
        // No end record but a local header at the start: a cut-off archive.
        // Its complete members are still worth showing.
        st = zip::scanLocalHeaders(src, &dir);
    }
    if (!ok(st)) {
        if (error) *error = st;
        return nullptr;
    }
    if (error) *error = Status::Ok;
    return std::make_unique<ZipArchive>(src, std::move(dir));
}

bool looksLikeZip(ByteSource& src) { return zip::directoryLocatable(src); }

}  // namespace arc
