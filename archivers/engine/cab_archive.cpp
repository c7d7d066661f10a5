// Cabinet reader: members of a folder are ranges of the folder's one
// uncompressed stream, so each folder is decoded once, front to back, and every
// wanted member takes its range as the blocks pass by.
//
// Where real cabinets differ from the published description: blocks may be far
// smaller than 32 KiB; a file entry's name may be empty; installers put "MSCF"
// in their stub before the real cabinet; cabinet sets mark files that start or
// end in a neighbouring cabinet only through iFolder, so a folder continued
// from the previous cabinet is recognised by its files.
#include <algorithm>
#include <memory>

#include "archive.h"
#include "cab_folder_stream.h"
#include "cab_format.h"
#include "text_codec.h"

namespace arc {
namespace {

class CabArchive final : public Archive {
public:
    CabArchive(ByteSource& src, uint64_t start, uint64_t length) : cab_(src, start, length) {}
    Status open();
    const std::vector<Member>& members() const override { return members_; }
    Status extract(const std::vector<bool>& wanted, ExtractTarget& target) override;

private:
    struct Job {
        size_t index;
        uint64_t begin, end;  // range in the folder's uncompressed stream
        OutputSink* sink;
    };
    Status extractFolder(size_t folder, const std::vector<bool>& wanted, ExtractTarget& target, uint64_t& budget);

    SliceSource cab_;
    CabDirectory dir_;
    std::vector<Member> members_;
    std::vector<size_t> folderOf_;    // valid only where reach_ is Ok
    std::vector<Status> reach_;       // Ok when the member's data lies in this cabinet
};

std::string memberName(const CabFile& f) {
    std::string name = (f.attributes & kCabAttrNameIsUtf8) ? sanitizeUtf8(f.rawName) : cp932ToUtf8(f.rawName);
    std::replace(name.begin(), name.end(), '\\', '/');  // after decoding: a CP932 trail byte may be 0x5C
    return name;
}

// Reports a member that cannot be extracted to a target that still wants it.
void fail(ExtractTarget& target, size_t index, Status why) {
    if (target.begin(index)) target.end(index, why);
}

Status CabArchive::open() {
    Status st = readCabDirectory(cab_, &dir_);
    if (!ok(st)) return st;
    const size_t folderCount = dir_.folders.size();
    // A file continued from the previous cabinet lives in folder 0, which then
    // starts mid-stream here: none of its offsets can be reached.
    bool firstFolderContinued = false;
    for (auto& f : dir_.files)
        if (f.folderIndex == kCabContinuedFromPrev || f.folderIndex == kCabContinuedPrevAndNext)
            firstFolderContinued = true;

    for (auto& f : dir_.files) {
        Member m;
        m.name = memberName(f);
        m.size = f.size;
        m.dosDate = f.date;
        m.dosTime = f.time;
        m.attributes = f.attributes & 0x3F;  // DOS bits; 0x40 (run after extraction) and 0x80 (UTF-8 name) are not
        size_t folder = f.folderIndex;
        Status reach = Status::Ok;
        if (f.folderIndex == kCabContinuedFromPrev || f.folderIndex == kCabContinuedPrevAndNext) {
            folder = 0;
            reach = Status::NotSupport;
        } else if (f.folderIndex == kCabContinuedToNext) {
            folder = folderCount - 1;
            reach = Status::NotSupport;
        } else if (folder >= folderCount) {
            reach = Status::HeaderBroken;
        } else if (folder == 0 && firstFolderContinued) {
            reach = Status::NotSupport;
        }
        m.method = folder < folderCount ? cabMethodName(dir_.folders[folder]) : "unknown";
        if (folder < folderCount && dir_.folders[folder].method() == kCabNone) m.packedSize = f.size;
        members_.push_back(std::move(m));
        folderOf_.push_back(folder);
        reach_.push_back(reach);
    }
    return Status::Ok;
}

Status CabArchive::extract(const std::vector<bool>& wanted, ExtractTarget& target) {
    Status first = Status::Ok;
    std::vector<bool> folderDone(dir_.folders.size(), false);
    // Twice the cabinet plus one block's worth: room for every folder once,
    // whatever the layout, but not for folders that all reuse the same data.
    uint64_t budget = 2 * uint64_t(dir_.cabinetSize) + 65536 + 263;
    for (size_t i = 0; i < members_.size() && i < wanted.size(); ++i) {
        if (!wanted[i]) continue;
        Status st = Status::Ok;
        if (!ok(reach_[i])) {
            st = reach_[i];
            fail(target, i, st);
        } else if (!folderDone[folderOf_[i]]) {
            folderDone[folderOf_[i]] = true;
            st = extractFolder(folderOf_[i], wanted, target, budget);
            if (st == Status::CannotWrite) return st;
        }
        if (ok(first)) first = st;
    }
    return first;
}

Status CabArchive::extractFolder(size_t folder, const std::vector<bool>& wanted, ExtractTarget& target,
                                 uint64_t& budget) {
    std::vector<Job> jobs;
    for (size_t i = 0; i < members_.size() && i < wanted.size(); ++i) {
        if (!wanted[i] || !ok(reach_[i]) || folderOf_[i] != folder) continue;
        const CabFile& f = dir_.files[i];
        if (f.size == 0) {  // nothing to decode, wherever it claims to be
            if (target.begin(i)) target.end(i, Status::Ok);
            continue;
        }
        jobs.push_back({i, f.folderOffset, uint64_t(f.folderOffset) + f.size, nullptr});
    }
    if (jobs.empty()) return Status::Ok;
    std::stable_sort(jobs.begin(), jobs.end(), [](const Job& a, const Job& b) { return a.begin < b.begin; });

    CabFolderStream stream(cab_, dir_, dir_.folders[folder], budget);
    std::vector<Job> active;  // begun, not yet complete
    size_t next = 0;          // first job not yet begun
    uint64_t pos = 0;         // folder offset of the next block's first byte
    Status st = stream.start();
    while (ok(st) && (next < jobs.size() || !active.empty())) {
        if (stream.atEnd()) {  // members reach past the folder's data
            st = Status::BrokenData;
            break;
        }
        size_t n = 0;
        const uint8_t* data = nullptr;
        if (!ok(st = stream.nextHeader(&n))) break;
        const uint64_t blockEnd = pos + n;
        const bool needed = !active.empty() || jobs[next].begin < blockEnd;
        if (!ok(st = stream.decodeBody(needed, &data))) break;
        if (needed) {
            for (; next < jobs.size() && jobs[next].begin < blockEnd; ++next) {
                Job job = jobs[next];
                job.sink = target.begin(job.index);
                if (job.sink) active.push_back(job);
            }
            for (size_t a = 0; a < active.size();) {
                Job& job = active[a];
                uint64_t from = std::max(job.begin, pos), to = std::min(job.end, blockEnd);
                if (from < to && !job.sink->write(data + (from - pos), static_cast<size_t>(to - from))) {
                    for (auto& j : active) target.end(j.index, Status::CannotWrite);
                    return Status::CannotWrite;
                }
                if (job.end <= blockEnd) {
                    target.end(job.index, Status::Ok);
                    active.erase(active.begin() + a);
                } else {
                    ++a;
                }
            }
        }
        pos = blockEnd;
    }
    if (ok(st)) return st;
    for (auto& job : active) target.end(job.index, st);
    for (; next < jobs.size(); ++next) fail(target, jobs[next].index, st);
    return st;
}

}  // namespace

std::unique_ptr<Archive> openCab(ByteSource& src, Status* error) {
    uint64_t start = 0;
    if (!findCabinet(src, &start)) {
        *error = Status::NotArcFile;
        return nullptr;
    }
    uint8_t size[4];
    src.readExact(start + 8, size, 4);  // findCabinet read the whole header already
    const uint32_t cabinetSize = size[0] | (size[1] << 8) | (size[2] << 16) | (static_cast<uint32_t>(size[3]) << 24);
    auto archive = std::make_unique<CabArchive>(src, start, cabinetSize);
    Status st = archive->open();
    if (!ok(st)) {
        *error = st;
        return nullptr;
    }
    return archive;
}

bool looksLikeCab(ByteSource& src) {
    Status ignored;
    return openCab(src, &ignored) != nullptr;
}

}  // namespace arc
