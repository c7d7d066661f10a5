// Cabinet reader: members of a folder are ranges of the folder's one
// uncompressed stream, so each folder is decoded once, front to back, and every
// wanted member takes its range as the blocks pass by.
//
// Several cabinets make one archive in two ways. A set: a cabinet whose
// header names a next cabinet continues its last folder there (the next
// cabinet's first folder). Whichever part the user opened, the previous
// parts are looked for beside it back to the first one and the next parts
// on to the last (PartOpener), so every part lists and extracts the whole
// set in set order; a part joins only when cabFollows says it fits.
// Cabinets stored one after another in one file: every one is read,
// whatever its set ID, as cabextract does; such a cabinet that names a next
// one finds it right behind itself when it fits, else beside the archive.
//
// Where real cabinets differ from the published description: blocks may be far
// smaller than 32 KiB; a file entry's name may be empty; installers put "MSCF"
// in their stub before the real cabinet; cabinet sets mark files that start or
// end in a neighbouring cabinet only through iFolder, so a folder continued
// from the previous cabinet is recognised by its files.
#include <algorithm>
#include <memory>
#include <tuple>

#include "archive.h"
#include "cab_folder_stream.h"
#include "cab_format.h"
#include "cab_set.h"
#include "text_codec.h"

namespace arc {
namespace {

// More parts than any real set has (the format's set index is 16-bit, but
// disks were counted in dozens). Parts join only with consecutive indexes,
// so a chain of names cannot loop; this bounds a long one.
constexpr size_t kMaxCabinets = 256;

// One cabinet of the archive.
struct Volume {
    std::unique_ptr<ByteSource> file;  // a part opened beside the archive (null: inside the archive's file)
    std::unique_ptr<SliceSource> cab;  // the cabinet's bytes
    CabDirectory dir;
    bool joinsPrevious = false;  // its folder 0 continues the previous volume's last folder
    std::string missingPrevious; // the previous part's name when it could not be opened or did not fit
    std::string missingNext;     // the next part's name, likewise
};

class CabArchive final : public Archive {
public:
    explicit CabArchive(ByteSource& src) : src_(src) {}
    Status open(const PartOpener& parts);
    const std::vector<Member>& members() const override { return members_; }
    std::vector<std::string> missingParts() const override;
    Status extract(const std::vector<bool>& wanted, ExtractTarget& target) override;

private:
    struct Job {
        size_t index;
        uint64_t begin, end;  // range in the folder's uncompressed stream
        OutputSink* sink;
    };
    // A folder as the reader sees it: its pieces in consecutive volumes.
    struct Folder {
        std::vector<CabSegment> segments;
        std::string missingNext;  // it goes on in a part that is not there
        // Not Ok when it began in a cabinet that was not read: its offsets
        // count from a start we never see, in whichever part a member lies.
        Status cutOff = Status::Ok;
    };
    struct Entry {
        const CabFile* file;
        size_t folder;  // into folders_; valid only where reach is Ok
        Status reach;   // Ok when the member's data can be read
    };

    Status addVolume(std::unique_ptr<ByteSource> file, ByteSource& in, uint64_t start);
    void followSetBack(const PartOpener& parts);
    void followSet(const PartOpener& parts, uint64_t nextInFile);
    void buildMembers();
    Status extractFolder(size_t folder, const std::vector<bool>& wanted, ExtractTarget& target, uint64_t& budget);

    ByteSource& src_;
    std::vector<Volume> volumes_;
    std::vector<Folder> folders_;
    std::vector<Entry> entries_;
    std::vector<Member> members_;
};

std::string memberName(const CabFile& f) {
    std::string name = (f.attributes & kCabAttrNameIsUtf8) ? sanitizeUtf8(f.rawName) : cp932ToUtf8(f.rawName);
    std::replace(name.begin(), name.end(), '\\', '/');  // after decoding: a CP932 trail byte may be 0x5C
    return name;
}

// Header names of neighbouring cabinets: UTF-8 when valid, else the code page.
std::string partName(const std::string& raw) { return sanitizeUtf8(raw) == raw ? raw : cp932ToUtf8(raw); }

// Two copies of one cabinet: same place in the same set, same file entries.
bool sameCabinet(const CabDirectory& a, const CabDirectory& b) {
    auto key = [](const CabFile& f) { return std::tie(f.rawName, f.size, f.folderOffset, f.folderIndex); };
    return a.setId == b.setId && a.setIndex == b.setIndex && a.files.size() == b.files.size() &&
           std::equal(a.files.begin(), a.files.end(), b.files.begin(),
                      [&](const CabFile& x, const CabFile& y) { return key(x) == key(y); });
}

// Reports a member that cannot be extracted to a target that still wants it.
void fail(ExtractTarget& target, size_t index, Status why) {
    if (target.begin(index)) target.end(index, why);
}

uint32_t cabinetSizeAt(ByteSource& in, uint64_t start) {
    uint8_t size[4] = {};
    in.readExact(start + 8, size, 4);  // findCabinet read the whole header already
    return size[0] | (size[1] << 8) | (size[2] << 16) | (static_cast<uint32_t>(size[3]) << 24);
}

Status readVolume(std::unique_ptr<ByteSource> file, ByteSource& in, uint64_t start, Volume* v) {
    v->cab = std::make_unique<SliceSource>(in, start, cabinetSizeAt(in, start));
    Status st = readCabDirectory(*v->cab, &v->dir);
    if (!ok(st)) return st;
    v->file = std::move(file);
    return Status::Ok;
}

// A cabinet named by a neighbour's header, opened beside the archive.
Status readPart(const PartOpener& parts, const std::string& name, Volume* v) {
    std::unique_ptr<ByteSource> file = parts(name);
    if (!file) return Status::NotFindArcFile;
    ByteSource& raw = *file;
    return readVolume(std::move(file), raw, 0, v);
}

Status CabArchive::addVolume(std::unique_ptr<ByteSource> file, ByteSource& in, uint64_t start) {
    Volume v;
    Status st = readVolume(std::move(file), in, start, &v);
    if (ok(st)) volumes_.push_back(std::move(v));
    return st;
}

Status CabArchive::open(const PartOpener& parts) {
    uint64_t start = 0;
    if (!findCabinet(src_, &start, 0, true)) return Status::NotArcFile;
    Status st = addVolume(nullptr, src_, start);
    if (!ok(st)) return st;
    const uint64_t behind = start + volumes_.back().dir.cabinetSize;
    followSetBack(parts);
    followSet(parts, behind);
    buildMembers();
    return Status::Ok;
}

// Puts the parts before the archive's first cabinet in front of it, found by
// name beside the archive, back to the set's first part. The first one that
// is missing or does not fit ends the walk and is named.
void CabArchive::followSetBack(const PartOpener& parts) {
    // Without a way to look for parts the set stays cut off here, as a lone cabinet.
    if (!parts) return;
    std::vector<Volume> earlier;  // nearest first
    std::string missing;
    for (;;) {
        const CabDirectory& first = earlier.empty() ? volumes_.front().dir : earlier.back().dir;
        if (!first.hasPrevious()) break;
        const std::string name = partName(first.previousName);
        Volume v;
        if (volumes_.size() + earlier.size() >= kMaxCabinets || !ok(readPart(parts, name, &v)) ||
            !cabFollows(v.dir, first)) {
            missing = name;
            break;
        }
        earlier.push_back(std::move(v));
    }
    if (earlier.empty()) {
        volumes_.front().missingPrevious = missing;
        return;
    }
    earlier.back().missingPrevious = missing;
    std::reverse(earlier.begin(), earlier.end());
    const size_t count = earlier.size();
    for (Volume& v : volumes_) earlier.push_back(std::move(v));
    volumes_ = std::move(earlier);
    for (size_t v = 1; v <= count; ++v) volumes_[v].joinsPrevious = cabJoinsPrevious(volumes_[v].dir);
}

// Appends the parts that follow the volumes read so far: in the archive's
// file behind the last cabinet there, or beside the archive by name.
void CabArchive::followSet(const PartOpener& parts, uint64_t nextInFile) {
    for (;;) {
        // Copies: adding a volume moves the others.
        const CabDirectory last = volumes_.back().dir;
        uint64_t at = 0;
        const bool more = nextInFile < src_.size() && findCabinet(src_, &at, nextInFile, false);
        Volume probe;
        if (more) {
            SliceSource s(src_, at, cabinetSizeAt(src_, at));
            if (!ok(readCabDirectory(s, &probe.dir))) break;
        }
        if (volumes_.size() >= kMaxCabinets) {
            if (last.hasNext()) volumes_.back().missingNext = partName(last.nextName);
            break;
        }
        if (!last.hasNext()) {
            if (!more) break;
            // Another cabinet of the same file: read it as well, unless it
            // repeats one already read (the same files would come twice).
            nextInFile = at + probe.dir.cabinetSize;
            if (std::any_of(volumes_.begin(), volumes_.end(),
                            [&](const Volume& v) { return sameCabinet(v.dir, probe.dir); }))
                continue;
            if (!ok(addVolume(nullptr, src_, at))) break;
            continue;
        }
        if (more && cabFollows(last, probe.dir)) {
            if (!ok(addVolume(nullptr, src_, at))) break;
            nextInFile = at + volumes_.back().dir.cabinetSize;
        } else {
            // Without a way to look for parts the set stays cut off here, as a lone cabinet.
            if (!parts) break;
            const std::string name = partName(last.nextName);
            Volume v;
            // A part must belong to the set and come next in it; anything else is as good as missing.
            if (!ok(readPart(parts, name, &v)) || !cabFollows(last, v.dir)) {
                volumes_.back().missingNext = name;
                break;
            }
            volumes_.push_back(std::move(v));
        }
        volumes_.back().joinsPrevious = cabJoinsPrevious(volumes_.back().dir);
    }
}

void CabArchive::buildMembers() {
    // Folders: a volume's first folder joins the previous volume's last one
    // when the set continues it.
    std::vector<std::vector<size_t>> folderOf(volumes_.size());
    for (size_t v = 0; v < volumes_.size(); ++v) {
        Volume& vol = volumes_[v];
        for (size_t f = 0; f < vol.dir.folders.size(); ++f) {
            if (f == 0 && vol.joinsPrevious) {
                folderOf[v].push_back(folderOf[v - 1].back());
            } else {
                folderOf[v].push_back(folders_.size());
                folders_.push_back({});
            }
            folders_[folderOf[v].back()].segments.push_back({vol.cab.get(), &vol.dir, &vol.dir.folders[f]});
        }
        if (!vol.missingNext.empty()) folders_[folderOf[v].back()].missingNext = vol.missingNext;
    }
    for (size_t v = 0; v < volumes_.size(); ++v) {
        const Volume& vol = volumes_[v];
        const size_t count = vol.dir.folders.size();
        const bool nextRead = v + 1 < volumes_.size() && volumes_[v + 1].joinsPrevious;
        // A file continued from the previous cabinet lives in folder 0, which
        // then starts mid-stream here: unless that cabinet was read, none of
        // its offsets can be reached, here or in the parts it runs on into.
        const Status cutOff = vol.missingPrevious.empty() ? Status::NotSupport : Status::NotFindArcFile;
        if (!vol.joinsPrevious && cabJoinsPrevious(vol.dir)) folders_[folderOf[v][0]].cutOff = cutOff;
        for (const CabFile& f : vol.dir.files) {
            // Listed once, by the cabinet where it starts.
            if (vol.joinsPrevious && cabContinuedFromPrevious(f)) continue;
            size_t folder = f.folderIndex;
            Status reach = Status::Ok;
            if (cabContinuedFromPrevious(f)) {
                folder = 0;
                reach = cutOff;
            } else if (cabContinuedToNext(f)) {
                folder = count - 1;
                if (!nextRead) reach = vol.missingNext.empty() ? Status::NotSupport : Status::NotFindArcFile;
            } else if (folder >= count) {
                reach = Status::HeaderBroken;
            }
            if (ok(reach) && folder < count) reach = folders_[folderOf[v][folder]].cutOff;
            Member m;
            m.name = memberName(f);
            m.size = f.size;
            m.dosDate = f.date;
            m.dosTime = f.time;
            m.attributes = f.attributes & 0x3F;  // DOS bits; 0x40 (run after extraction) and 0x80 (UTF-8 name) are not
            m.method = folder < count ? cabMethodName(vol.dir.folders[folder]) : "unknown";
            if (folder < count && vol.dir.folders[folder].method() == kCabNone) m.packedSize = f.size;
            members_.push_back(std::move(m));
            entries_.push_back({&f, folder < count ? folderOf[v][folder] : 0, reach});
        }
    }
}

std::vector<std::string> CabArchive::missingParts() const {
    std::vector<std::string> names;
    for (const Volume& v : volumes_) {
        if (!v.missingPrevious.empty()) names.push_back(v.missingPrevious);
        if (!v.missingNext.empty()) names.push_back(v.missingNext);
    }
    return names;
}

Status CabArchive::extract(const std::vector<bool>& wanted, ExtractTarget& target) {
    Status first = Status::Ok;
    std::vector<bool> folderDone(folders_.size(), false);
    // Twice the cabinets plus one block's worth: room for every folder once,
    // whatever the layout, but not for folders that all reuse the same data.
    uint64_t budget = 65536 + 263;
    for (const Volume& v : volumes_) budget += 2 * uint64_t(v.dir.cabinetSize);
    for (size_t i = 0; i < members_.size() && i < wanted.size(); ++i) {
        if (!wanted[i]) continue;
        const Entry& e = entries_[i];
        Status st = Status::Ok;
        if (!ok(e.reach)) {
            st = e.reach;
            fail(target, i, st);
        } else if (!folderDone[e.folder]) {
            folderDone[e.folder] = true;
            st = extractFolder(e.folder, wanted, target, budget);
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
        const Entry& e = entries_[i];
        if (!wanted[i] || !ok(e.reach) || e.folder != folder) continue;
        const CabFile& f = *e.file;
        if (f.size == 0) {  // nothing to decode, wherever it claims to be
            if (target.begin(i)) target.end(i, Status::Ok);
            continue;
        }
        jobs.push_back({i, f.folderOffset, uint64_t(f.folderOffset) + f.size, nullptr});
    }
    if (jobs.empty()) return Status::Ok;
    std::stable_sort(jobs.begin(), jobs.end(), [](const Job& a, const Job& b) { return a.begin < b.begin; });

    const Folder& fol = folders_[folder];
    CabFolderStream stream(fol.segments, !fol.missingNext.empty(), budget);
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

std::unique_ptr<Archive> openCab(ByteSource& src, Status* error, const PartOpener& parts) {
    auto archive = std::make_unique<CabArchive>(src);
    Status st = archive->open(parts);
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
