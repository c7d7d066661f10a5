// libarchive reads front to back: listing walks every header once at open,
// and each extraction starts a fresh pass that stops after the last wanted
// member. All input goes through our ByteSources (one per volume), so the
// same code reads files, memory (tests, fuzzers) and Windows wide paths.
//
// Where libarchive and the engine's rules meet:
// - Symbolic and hard links (and devices, FIFOs) are not listed: a link is
//   never followed, so its bytes are not another member's, and never created.
// - libarchive names its failures only in words; statusOf() maps the words
//   its 7z and RAR readers use onto our codes.
// - A member yields at most the size its header states, never more.
#include "libarchive_reader.h"

#include <libarchive/archive.h>
#include <libarchive/archive_entry.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "libarchive_text.h"

namespace arc {

namespace {

// One volume as libarchive's callbacks see it: a cursor over a ByteSource.
struct Volume {
    ByteSource* src = nullptr;
    uint64_t pos = 0;
    std::vector<uint8_t> buffer;
};

constexpr size_t kReadChunk = 64 * 1024;

la_ssize_t readVolume(struct archive*, void* data, const void** out) {
    auto* v = static_cast<Volume*>(data);
    if (v->buffer.empty()) v->buffer.resize(kReadChunk);
    size_t n = v->pos < v->src->size() ? v->src->readAt(v->pos, v->buffer.data(), v->buffer.size()) : 0;
    v->pos += n;
    *out = v->buffer.data();
    return static_cast<la_ssize_t>(n);
}

la_int64_t skipVolume(struct archive*, void* data, la_int64_t request) {
    auto* v = static_cast<Volume*>(data);
    if (request <= 0) return 0;
    uint64_t left = v->src->size() > v->pos ? v->src->size() - v->pos : 0;
    uint64_t step = std::min<uint64_t>(left, static_cast<uint64_t>(request));
    v->pos += step;
    return static_cast<la_int64_t>(step);
}

la_int64_t seekVolume(struct archive*, void* data, la_int64_t offset, int whence) {
    auto* v = static_cast<Volume*>(data);
    const int64_t size = static_cast<int64_t>(v->src->size());
    int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<int64_t>(v->pos) : size;
    if ((offset > 0 && base > INT64_MAX - offset) || base + offset < 0) return ARCHIVE_FATAL;
    v->pos = static_cast<uint64_t>(std::min(base + offset, size));
    return static_cast<la_int64_t>(v->pos);
}

int switchVolume(struct archive*, void*, void* next) {
    if (next) static_cast<Volume*>(next)->pos = 0;
    return ARCHIVE_OK;
}

// libarchive's error text, lower-cased, as the one clue to what went wrong.
std::string errorText(struct archive* a) {
    const char* s = archive_error_string(a);
    std::string t = s ? s : "";
    for (char& c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return t;
}

bool mentions(const std::string& text, std::initializer_list<const char*> words) {
    for (const char* w : words)
        if (text.find(w) != std::string::npos) return true;
    return false;
}

Status statusOf(struct archive* a, Status fallback) {
    if (archive_errno(a) == ENOMEM) return Status::MoreHeapMemory;
    const std::string t = errorText(a);
    if (mentions(t, {"encrypt", "passphrase", "password"})) return Status::PasswordFile;
    if (mentions(t, {"crc", "checksum"})) return Status::FileCrc;
    if (mentions(t, {"unsupported", "not supported", "unknown compression", "unknown codec", "unexpected codec",
                     "unknown filter"}))
        return Status::Method;
    if (mentions(t, {"truncated", "premature", "unexpected end"})) return Status::UnexpectedEof;
    if (mentions(t, {"memory"})) return Status::MoreHeapMemory;
    return fallback;
}

// libarchive 3.6 ends the whole process when setting an entry's name fails
// while errno reads ENOMEM, and errno may still read so from any failure
// before (a refused allocation for an earlier archive, say). Every call
// that reads headers therefore starts with errno cleared.
int readNextHeader(struct archive* a, archive_entry** e) {
    errno = 0;
    return archive_read_next_header(a, e);
}

// One pass of libarchive over the volumes.
class Session {
public:
    Session(LibarchiveFormat format, const std::vector<ByteSource*>& sources) : a_(archive_read_new()) {
        volumes_.resize(sources.size());
        for (size_t i = 0; i < sources.size(); ++i) volumes_[i].src = sources[i];
        if (!a_) return;
        if (format == LibarchiveFormat::SevenZip) {
            archive_read_support_format_7zip(a_);
        } else {
            archive_read_support_format_rar(a_);
            archive_read_support_format_rar5(a_);
        }
        archive_read_set_read_callback(a_, readVolume);
        archive_read_set_skip_callback(a_, skipVolume);
        // Only the 7z reader needs to seek (its header sits at the end). Given
        // a seek callback, the RAR 5 reader of libarchive 3.6 misreads a solid
        // member continued in the next volume; without one it reads it right.
        if (format == LibarchiveFormat::SevenZip) archive_read_set_seek_callback(a_, seekVolume);
        archive_read_set_switch_callback(a_, switchVolume);
        for (size_t i = 0; i < volumes_.size(); ++i) {
            int r = i == 0 ? archive_read_set_callback_data(a_, &volumes_[0])
                           : archive_read_append_callback_data(a_, &volumes_[i]);
            if (r != ARCHIVE_OK) return;
        }
        errno = 0;  // as in readNextHeader
        opened_ = !volumes_.empty() && archive_read_open1(a_) == ARCHIVE_OK;
    }
    ~Session() {
        if (a_) archive_read_free(a_);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool opened() const { return opened_; }
    struct archive* get() const { return a_; }
    Status openFailure() const {
        if (!a_) return Status::MoreHeapMemory;
        return statusOf(a_, Status::NotArcFile);
    }

private:
    struct archive* a_;
    std::vector<Volume> volumes_;  // sized once: libarchive keeps pointers into it
    bool opened_ = false;
};

enum class EntryKind { File, Folder, Unlisted };

EntryKind kindOf(archive_entry* e) {
    if (archive_entry_hardlink(e)) return EntryKind::Unlisted;
    switch (archive_entry_filetype(e)) {
    case AE_IFREG: return EntryKind::File;
    case AE_IFDIR: return EntryKind::Folder;
    default: return EntryKind::Unlisted;
    }
}

// DOS date and time of a time stamp (UTC; neither format records a zone for it).
void setDosTime(int64_t unixTime, Member& m) {
    using namespace std::chrono;
    if (unixTime < 315532800 || unixTime > 4354819198LL) return;  // 1980-01-01 .. 2107-12-31
    const sys_seconds t{seconds{unixTime}};
    const sys_days day = floor<days>(t);
    const year_month_day ymd{day};
    const hh_mm_ss<seconds> hms{t - day};
    m.dosDate = static_cast<uint16_t>(((static_cast<int>(ymd.year()) - 1980) << 9) |
                                      (static_cast<unsigned>(ymd.month()) << 5) | static_cast<unsigned>(ymd.day()));
    m.dosTime = static_cast<uint16_t>((hms.hours().count() << 11) | (hms.minutes().count() << 5) |
                                      (hms.seconds().count() / 2));
}

Member memberOf(archive_entry* e, LibarchiveFormat format, EntryKind kind) {
    Member m;
    m.name = libarchiveEntryName(e);
    m.isFolder = kind == EntryKind::Folder;
    if (!m.isFolder && !m.name.empty() && m.name.back() == '/') m.isFolder = true;
    m.method = format == LibarchiveFormat::SevenZip ? "7z" : "rar";
    m.size = archive_entry_size_is_set(e) && archive_entry_size(e) > 0 ? static_cast<uint64_t>(archive_entry_size(e)) : 0;
    m.encrypted = archive_entry_is_data_encrypted(e) != 0;
    if (archive_entry_mtime_is_set(e)) setDosTime(archive_entry_mtime(e), m);
    m.attributes = m.isFolder ? 0x10 : 0x20;
    if ((archive_entry_perm(e) & 0222) == 0) m.attributes |= 0x01;  // no write permission: read-only
    return m;
}

class LibarchiveArchive final : public Archive {
public:
    LibarchiveArchive(LibarchiveFormat format, ArchiveVolumes volumes)
        : format_(format), volumes_(std::move(volumes)) {}

    // Reads every header; false with *error when not even the first is readable.
    bool list(Status* error) {
        LibarchiveTextScope text;
        Session s(format_, volumes_.inOrder);
        if (!s.opened()) {
            *error = s.openFailure();
            return false;
        }
        for (;;) {
            archive_entry* e = nullptr;
            int r = readNextHeader(s.get(), &e);
            if (r == ARCHIVE_EOF) break;
            if (r < ARCHIVE_WARN) {
                if (members_.empty()) {
                    *error = statusOf(s.get(), Status::NotArcFile);
                    return false;
                }
                break;  // extraction meets this header again and reports it
            }
            EntryKind kind = kindOf(e);
            if (kind == EntryKind::Unlisted) continue;
            members_.push_back(memberOf(e, format_, kind));
            if (format_ == LibarchiveFormat::Rar && members_.size() == 1)
                method_ = archive_format(s.get()) == ARCHIVE_FORMAT_RAR_V5 ? "rar5" : "rar";
        }
        if (format_ == LibarchiveFormat::Rar)
            for (Member& m : members_) m.method = method_;
        return true;
    }

    const std::vector<Member>& members() const override { return members_; }
    std::vector<std::string> missingParts() const override {
        if (ranOutOfVolumes_) return {volumes_.possiblyMissing};
        return volumes_.missing;
    }

    Status extract(const std::vector<bool>& wanted, ExtractTarget& target) override {
        size_t last = 0;
        bool any = false;
        for (size_t i = 0; i < members_.size() && i < wanted.size(); ++i)
            if (wanted[i] && !members_[i].isFolder) last = i, any = true;
        if (!any) return Status::Ok;

        LibarchiveTextScope text;
        Session s(format_, volumes_.inOrder);
        if (!s.opened()) return s.openFailure();
        Status first = Status::Ok;
        for (size_t index = 0, entry = 0; index <= last; ++entry) {
            archive_entry* e = nullptr;
            int r = readNextHeader(s.get(), &e);
            if (r == ARCHIVE_EOF) return combined(first, failure(s.get(), Status::UnexpectedEof));
            if (r < ARCHIVE_WARN) return combined(first, failure(s.get(), Status::HeaderBroken));
            if (kindOf(e) == EntryKind::Unlisted) continue;
            const size_t i = index++;
            if (!wanted[i] || members_[i].isFolder) continue;
            OutputSink* sink = target.begin(i);
            if (!sink) continue;
            Status st = members_[i].encrypted ? Status::PasswordFile : copyData(s.get(), members_[i], *sink);
            const auto& records = volumes_.encryptionRecords;
            if (!ok(st) && st != Status::CannotWrite && entry < records.size() && records[entry])
                st = Status::PasswordFile;
            target.end(i, st);
            first = combined(first, st);
            if (st == Status::CannotWrite) break;  // the caller asked to stop
        }
        return first;
    }

private:
    // A volume set whose data ends before the archive does lacks its next
    // volume; anywhere else the failure is the archive's own.
    Status failure(struct archive* a, Status fallback) const {
        Status st = statusOf(a, fallback);
        if (volumes_.possiblyMissing.empty() || archive_errno(a) == ENOMEM) return st;
        if (st != Status::UnexpectedEof && st != Status::HeaderBroken && st != Status::BrokenData) return st;
        ranOutOfVolumes_ = true;
        return Status::NotFindArcFile;
    }

    // Copies one member's data, holes of sparse data as zeros, never beyond its stated size.
    Status copyData(struct archive* a, const Member& m, OutputSink& sink) const {
        static const uint8_t kZeros[4096] = {};
        uint64_t produced = 0;
        for (;;) {
            const void* block = nullptr;
            size_t n = 0;
            la_int64_t offset = 0;
            errno = 0;  // as in readNextHeader: RAR reads the next volume's headers here
            int r = archive_read_data_block(a, &block, &n, &offset);
            if (r == ARCHIVE_EOF) break;
            if (r != ARCHIVE_OK) return failure(a, Status::BrokenData);
            if (offset < 0 || static_cast<uint64_t>(offset) < produced) return Status::BrokenData;
            const uint64_t at = static_cast<uint64_t>(offset);
            if (at > m.size || n > m.size - at) return Status::BrokenData;
            while (produced < at) {
                size_t gap = static_cast<size_t>(std::min<uint64_t>(sizeof kZeros, at - produced));
                if (!sink.write(kZeros, gap)) return Status::CannotWrite;
                produced += gap;
            }
            if (n && !sink.write(static_cast<const uint8_t*>(block), n)) return Status::CannotWrite;
            produced += n;
        }
        if (produced == m.size) return Status::Ok;
        // libarchive ends a member quietly where its volume ends and no next
        // volume was given.
        if (volumes_.possiblyMissing.empty()) return Status::BrokenData;
        ranOutOfVolumes_ = true;
        return Status::NotFindArcFile;
    }

    LibarchiveFormat format_;
    ArchiveVolumes volumes_;
    std::vector<Member> members_;
    std::string method_ = "rar";
    mutable bool ranOutOfVolumes_ = false;
};

}  // namespace

std::unique_ptr<Archive> openWithLibarchive(LibarchiveFormat format, ArchiveVolumes volumes, Status* error) {
    *error = Status::Ok;
    if (volumes.inOrder.empty()) {
        *error = Status::NotArcFile;
        return nullptr;
    }
    auto archive = std::make_unique<LibarchiveArchive>(format, std::move(volumes));
    if (!archive->list(error)) return nullptr;
    return archive;
}

bool libarchiveReads(LibarchiveFormat format, ByteSource& src) {
    LibarchiveTextScope text;
    Session s(format, {&src});
    if (!s.opened()) return false;
    archive_entry* e = nullptr;
    int r = readNextHeader(s.get(), &e);
    return r == ARCHIVE_EOF || r >= ARCHIVE_WARN;
}

}  // namespace arc
