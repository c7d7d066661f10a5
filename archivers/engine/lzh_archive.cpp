// The LZH archive reader: finds the first header (also behind a
// self-extracting stub), lists members until the end marker, and extracts
// wanted members one by one. Members are independent, so a failed one never
// stops the next.
#include <memory>
#include <vector>

#include "archive.h"
#include "lzh_decoders.h"
#include "lzh_header.h"
#include "lzh_macbinary.h"

namespace arc {

namespace {

// Self-extracting stubs seen in the wild stay far below this; scanning
// further would only make every non-LZH file slow to reject.
constexpr uint64_t kMaxStubSize = 4u << 20;
constexpr uint64_t kTruncationSlack = 64 * 1024;

class LzhArchive final : public Archive {
public:
    LzhArchive(ByteSource& src, std::vector<LzhEntry> entries, Status listError)
        : src_(src), entries_(std::move(entries)), listError_(listError) {
        for (auto& e : entries_) {
            members_.push_back(e.member);
            // MacLHA's members come out as their data fork (see extractOne).
            if (e.member.osType == 'm') members_.back().sizeIsUpperBound = true;
        }
    }

    const std::vector<Member>& members() const override { return members_; }

    Status extract(const std::vector<bool>& wanted, ExtractTarget& target) override {
        Status first = Status::Ok;
        for (size_t i = 0; i < entries_.size(); ++i) {
            if (i >= wanted.size() || !wanted[i]) continue;
            OutputSink* sink = target.begin(i);
            if (!sink) continue;
            Status st = extractOne(entries_[i], *sink);
            target.end(i, st);
            if (!ok(st) && ok(first)) first = st;
        }
        return ok(first) ? listError_ : first;
    }

private:
    Status extractOne(const LzhEntry& e, OutputSink& sink) {
        const Member& m = e.member;
        if (m.isFolder) return Status::Ok;
        if (!lzhMethodSupported(m.method) || e.lharkMethod) return Status::Method;
        // A member claiming far more than the whole file cannot be real; one
        // that merely runs past the end is a truncated archive and fails
        // while decoding.
        if (m.packedSize > 2 * src_.size() + kTruncationSlack) return Status::TooBig;
        uint16_t crc = 0;
        Status st;
        if (m.osType == 'm') {
            // The CRC covers the whole MacBinary stream; only the data fork goes out.
            MacBinaryDataFork fork(sink, m.size);
            st = lzhDecodeMember(m.method, src_, e.dataOffset, m.packedSize, m.size, fork, &crc);
            if (ok(st) && !fork.finish()) st = Status::CannotWrite;
        } else {
            st = lzhDecodeMember(m.method, src_, e.dataOffset, m.packedSize, m.size, sink, &crc);
        }
        if (ok(st) && crc != m.crc) st = Status::FileCrc;
        return st;
    }

    ByteSource& src_;
    std::vector<LzhEntry> entries_;
    std::vector<Member> members_;
    Status listError_;
};

// Amiga self-extracting programs carry a small LZH archive of their own (the
// usage text) in the stub, ended by its 0 byte and hunk-alignment zeros, with
// the real archive right behind. A valid header after at most a few zeros
// therefore continues the listing (and, behind a stub, replaces it).
uint64_t headerAfterPadding(ByteSource& src, uint64_t pos) {
    constexpr size_t kMaxPad = 8;  // the end byte plus 4-byte alignment, with margin
    uint8_t pad[kMaxPad + 1];
    size_t got = src.readAt(pos, pad, sizeof pad);
    for (size_t i = 1; i < got && pad[i - 1] == 0; ++i) {
        LzhEntry e;
        LzhHeaderKind kind;
        if (pad[i] != 0 && lzhReadHeader(src, pos + i, e, &kind) == Status::Ok && kind == LzhHeaderKind::Member &&
            e.nextOffset <= src.size())
            return pos + i;
    }
    return UINT64_MAX;
}

}  // namespace

std::unique_ptr<Archive> openLzh(ByteSource& src, Status* error) {
    Status dummy;
    if (!error) error = &dummy;
    *error = Status::Ok;
    LzhEntry e;
    LzhHeaderKind kind;
    uint64_t pos = 0;
    Status st = lzhReadHeader(src, 0, e, &kind);
    if (!ok(st) && (lzhMethodSupported(e.member.method) || e.member.method == "-lhd-")) {
        // A damaged header with an LZH method name at the very start is this
        // archive's first header: report it rather than hunting further.
        // (PMarc's stub starts with a "-pms-" pseudo header and is skipped.)
        *error = st;
        return nullptr;
    }
    if (!ok(st) || kind != LzhHeaderKind::Member) {
        pos = lzhFindFirstHeader(src, 1, kMaxStubSize);
        if (pos == UINT64_MAX) {
            *error = Status::NotArcFile;
            return nullptr;
        }
    }
    const uint64_t start = pos;
    std::vector<LzhEntry> entries;
    Status listError = Status::Ok;
    for (;;) {
        st = lzhReadHeader(src, pos, e, &kind);
        if (!ok(st)) {
            listError = st;
            break;
        }
        if (kind == LzhHeaderKind::End) {
            uint64_t resume = headerAfterPadding(src, pos);
            if (resume == UINT64_MAX) break;
            // Behind a stub, what came before was the stub's own archive.
            if (start > 0) entries.clear();
            pos = resume;
            continue;
        }
        // Every header is at least 22 bytes, so the list is bounded by the file size.
        pos = e.nextOffset;
        entries.push_back(std::move(e));
    }
    if (entries.empty()) {
        *error = ok(listError) ? Status::NotArcFile : listError;
        return nullptr;
    }
    return std::make_unique<LzhArchive>(src, std::move(entries), listError);
}

bool looksLikeLzh(ByteSource& src) {
    LzhEntry e;
    LzhHeaderKind kind;
    if (lzhReadHeader(src, 0, e, &kind) == Status::Ok && kind == LzhHeaderKind::Member) return true;
    return lzhFindFirstHeader(src, 1, kMaxStubSize) != UINT64_MAX;
}

}  // namespace arc
