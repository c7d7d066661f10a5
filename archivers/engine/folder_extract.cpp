#include "folder_extract.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "native_files.h"
#include "safe_name.h"

namespace arc {

namespace {

using native::OutFile;
using native::applyAttributes;
using native::ensureFolder;
using native::exists;
using native::freeBytes;
using native::joinPath;
using native::removeFile;
using native::replaceFile;

// ---- The extraction target: one temporary file per member being written. ----
// Readers may keep several members open at once (a CAB block holds the ends
// and starts of several files), so each open member has its own state.
class FolderTarget final : public ExtractTarget {
public:
    FolderTarget(const std::vector<Member>& members, const std::string& folder, const ExtractOptions& options,
                 const ProgressCallback& progress, uint64_t total)
        : members_(members), folder_(folder), options_(options), progress_(progress) {
        report_.totalBytes = total;
    }

    OutputSink* begin(size_t index) override {
        if (cancelled_ || index >= members_.size() || open_.count(index)) return nullptr;
        const Member& m = members_[index];
        if (m.isFolder) return nullptr;
        auto job = std::make_unique<Open>();
        job->owner = this;
        job->index = index;
        job->finalName = names_.claim(safeFileName(m.name));
        job->finalPath = joinPath(folder_, job->finalName);
        if (!options_.overwrite && exists(job->finalPath)) return fail(kStatusAlreadyExist);
        if (m.size > freeBytes(folder_)) return fail(Status::DiskSpace);
        if (!createTemp(*job)) return fail(Status::CannotWrite);
        report_.member = m.name;
        if (!notify()) {
            job->file.close();
            removeFile(job->tempPath);
            cancel();
            return nullptr;
        }
        OutputSink* sink = job.get();
        open_[index] = std::move(job);
        return sink;
    }

    void end(size_t index, Status result) override {
        auto it = open_.find(index);
        if (it == open_.end()) return;
        std::unique_ptr<Open> job = std::move(it->second);
        open_.erase(it);
        const Member& m = members_[index];
        if (ok(result) && job->written != m.size && !(m.sizeIsUpperBound && job->written < m.size))
            result = Status::BrokenData;
        if (ok(result) && options_.restoreTime) job->file.setDosTime(m.dosDate, m.dosTime);
        bool closed = job->file.close();
        if (ok(result) && !closed) result = Status::CannotWrite;
        if (ok(result) && !replaceFile(job->tempPath, job->finalPath)) result = Status::CannotWrite;
        if (!ok(result)) {
            removeFile(job->tempPath);
            // Our own reason (cancel, disk full, too long) beats the reader's "cannot write".
            fail(!ok(job->pendingReason) ? job->pendingReason : result);
            return;
        }
        if (options_.restoreAttributes) applyAttributes(job->finalPath, m.attributes);
        result_.written.push_back(job->finalName);
    }

    PasswordSource* passwords() override { return options_.passwords; }

    // Removes temporary files of members the reader never ended (it stopped early).
    void abandon() {
        for (auto& [index, job] : open_) {
            job->file.close();
            removeFile(job->tempPath);
        }
        open_.clear();
    }

    ExtractResult& result() { return result_; }
    bool cancelled() const { return cancelled_; }

private:
    struct Open final : OutputSink {
        FolderTarget* owner = nullptr;
        size_t index = 0;
        OutFile file;
        std::string tempPath, finalPath;
        std::string finalName;
        uint64_t written = 0;
        Status pendingReason = Status::Ok;
        bool write(const uint8_t* data, size_t n) override { return owner->write(*this, data, n); }
    };

    bool write(Open& job, const uint8_t* data, size_t n) {
        const Member& m = members_[job.index];
        // Never more than the header promised: a lying archive cannot fill the disk.
        if (n > m.size - job.written) {
            job.pendingReason = Status::BrokenData;
            return false;
        }
        if (!job.file.write(data, n)) {
            job.pendingReason = freeBytes(folder_) < n ? Status::DiskSpace : Status::CannotWrite;
            return false;
        }
        job.written += n;
        report_.doneBytes += n;
        report_.member = m.name;
        if (!notify()) {
            cancel();
            job.pendingReason = Status::UserCancel;
            return false;
        }
        return true;
    }

    bool notify() { return !progress_ || progress_(report_); }

    // The run stopped by its caller: what the stop causes afterwards (a
    // reader's "cannot write") does not replace the cancel.
    void cancel() {
        fail(Status::UserCancel);
        cancelled_ = true;
    }

    OutputSink* fail(Status s) {
        if (!cancelled_) result_.status = combined(result_.status, s);
        return nullptr;
    }

    bool createTemp(Open& job) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = "~qbx" + std::to_string(tempCounter_++) + ".tmp";
            // A member may be called like a temporary file; neither may take the other's place.
            if (names_.taken(name)) continue;
            std::string p = joinPath(folder_, name);
            if (job.file.create(p)) {
                names_.claim(name);
                job.tempPath = p;
                return true;
            }
            if (!exists(p)) return false;  // not a clash: the folder refuses files
        }
        return false;
    }

    const std::vector<Member>& members_;
    std::string folder_;
    const ExtractOptions& options_;
    const ProgressCallback& progress_;
    UniqueNames names_;
    ExtractResult result_;
    ExtractProgress report_;
    std::map<size_t, std::unique_ptr<Open>> open_;
    unsigned tempCounter_ = 0;
    bool cancelled_ = false;
};

}  // namespace

ExtractResult extractToFolder(Archive& archive, const std::vector<bool>& wanted, const std::string& folderUtf8,
                              const ExtractOptions& options, const ProgressCallback& progress) {
    const std::vector<Member>& members = archive.members();
    std::vector<bool> want(members.size(), false);
    uint64_t total = 0;
    for (size_t i = 0; i < members.size() && i < wanted.size(); ++i) {
        if (!wanted[i] || members[i].isFolder) continue;
        want[i] = true;
        total += members[i].size;
    }
    const std::string& folder = folderUtf8;
    if (folderUtf8.empty() || !ensureFolder(folder)) return {Status::MakeDirectory, {}, {}};
    FolderTarget target(members, folder, options, progress, total);
    Status s = Status::Ok;
    try {
        s = archive.extract(want, target);
    } catch (const std::bad_alloc&) {
        s = Status::MoreHeapMemory;
    } catch (...) {
        // Whatever a reader or the progress callback threw, no temporary file stays behind.
        s = Status::BrokenData;
    }
    target.abandon();
    ExtractResult& r = target.result();
    if (!target.cancelled()) r.status = combined(r.status, s);
    r.missingParts = archive.missingParts();  // also when no member listed needed them
    return std::move(r);
}

std::unique_ptr<Archive> openArchive(ByteSource& src, Format format, Status* error, const PartOpener& parts,
                                     const std::string& archiveName) {
    switch (format) {
    case Format::Lzh: return openLzh(src, error);
    case Format::Zip: return openZip(src, error);
    case Format::Cab: return openCab(src, error, parts);
    case Format::SevenZip: return openSevenZip(src, error);
    case Format::Rar: return openRar(src, error, parts, archiveName);
    }
    *error = Status::UnknownType;
    return nullptr;
}

bool looksLikeArchive(ByteSource& src, Format format) {
    switch (format) {
    case Format::Lzh: return looksLikeLzh(src);
    case Format::Zip: return looksLikeZip(src);
    case Format::Cab: return looksLikeCab(src);
    case Format::SevenZip: return looksLikeSevenZip(src);
    case Format::Rar: return looksLikeRar(src);
    }
    return false;
}

MatchRule defaultMatchRule(Format format) { return format == Format::Lzh ? MatchRule::LzhFileName : MatchRule::ZipPath; }

ExtractResult extractArchiveToFolder(const std::string& archiveUtf8, Format format,
                                     const std::vector<std::string>& patterns, MatchRule rule,
                                     const std::string& folderUtf8, const ExtractOptions& options,
                                     const ProgressCallback& progress) {
    std::unique_ptr<ByteSource> src = openFileSource(archiveUtf8);
    if (!src) return {Status::ArcFileOpen, {}, {}};
    Status error = Status::NotArcFile;
    std::unique_ptr<Archive> archive = openArchive(*src, format, &error, partsBeside(archiveUtf8), archiveUtf8);
    if (!archive) return {ok(error) ? Status::NotArcFile : error, {}, {}};
    std::vector<bool> wanted = selectMembers(archive->members(), patterns, rule);
    return extractToFolder(*archive, wanted, folderUtf8, options, progress);
}

}  // namespace arc
