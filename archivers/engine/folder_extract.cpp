#include "folder_extract.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <map>

#include "safe_name.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/time.h>
#include <unistd.h>
#endif

namespace arc {

namespace {

constexpr uint32_t kAttrReadOnly = 0x01, kAttrHidden = 0x02, kAttrSystem = 0x04;

// ---- The few file-system calls extraction needs, per platform. ----
#ifdef _WIN32
using NativePath = std::wstring;

NativePath nativePath(const std::string& utf8) {
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(std::max(n, 0)), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
    return w;
}
NativePath joinPath(const NativePath& folder, const std::string& nameUtf8) {
    NativePath p = folder;
    if (!p.empty() && p.back() != L'\\' && p.back() != L'/') p += L'\\';
    return p + nativePath(nameUtf8);
}
bool ensureFolder(const NativePath& folder) {
    DWORD a = GetFileAttributesW(folder.c_str());
    if (a != INVALID_FILE_ATTRIBUTES) return (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return CreateDirectoryW(folder.c_str(), nullptr) != 0;
}
bool exists(const NativePath& p) { return GetFileAttributesW(p.c_str()) != INVALID_FILE_ATTRIBUTES; }
uint64_t freeBytes(const NativePath& folder) {
    ULARGE_INTEGER avail{};
    if (!GetDiskFreeSpaceExW(folder.c_str(), &avail, nullptr, nullptr)) return UINT64_MAX;  // unknown: do not refuse
    return avail.QuadPart;
}

class OutFile {
public:
    OutFile() = default;
    OutFile(const OutFile&) = delete;
    OutFile& operator=(const OutFile&) = delete;
    ~OutFile() { close(); }
    bool create(const NativePath& p) {
        h_ = CreateFileW(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        return h_ != INVALID_HANDLE_VALUE;
    }
    bool write(const uint8_t* d, size_t n) {
        while (n > 0) {
            DWORD chunk = static_cast<DWORD>(std::min<size_t>(n, 1u << 30)), done = 0;
            if (!WriteFile(h_, d, chunk, &done, nullptr) || done == 0) return false;
            d += done;
            n -= done;
        }
        return true;
    }
    void setDosTime(uint16_t date, uint16_t time) {
        FILETIME local, utc;
        if (date != 0 && DosDateTimeToFileTime(date, time, &local) && LocalFileTimeToFileTime(&local, &utc))
            SetFileTime(h_, nullptr, nullptr, &utc);
    }
    bool close() {
        bool good = true;
        if (h_ != INVALID_HANDLE_VALUE) good = CloseHandle(h_) != 0;
        h_ = INVALID_HANDLE_VALUE;
        return good;
    }

private:
    HANDLE h_ = INVALID_HANDLE_VALUE;
};

void removeFile(const NativePath& p) { DeleteFileW(p.c_str()); }
bool replaceFile(const NativePath& from, const NativePath& to) {
    // A read-only file from an earlier "-a1" command must not block the overwrite.
    DWORD a = GetFileAttributesW(to.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
        (a & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
        SetFileAttributesW(to.c_str(), FILE_ATTRIBUTE_NORMAL);
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}
void applyAttributes(const NativePath& p, uint32_t dosAttr) {
    DWORD a = dosAttr & (kAttrReadOnly | kAttrHidden | kAttrSystem);
    if (a) SetFileAttributesW(p.c_str(), a);
}
#else
using NativePath = std::string;

NativePath nativePath(const std::string& utf8) { return utf8; }
NativePath joinPath(const NativePath& folder, const std::string& name) {
    NativePath p = folder;
    if (!p.empty() && p.back() != '/') p += '/';
    return p + name;
}
bool ensureFolder(const NativePath& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    return ::mkdir(folder.c_str(), 0777) == 0;
}
bool exists(const NativePath& p) {
    struct stat st {};
    return ::lstat(p.c_str(), &st) == 0;
}
uint64_t freeBytes(const NativePath& folder) {
    struct statvfs vs {};
    if (::statvfs(folder.c_str(), &vs) != 0) return UINT64_MAX;
    return static_cast<uint64_t>(vs.f_bavail) * vs.f_frsize;
}

class OutFile {
public:
    OutFile() = default;
    OutFile(const OutFile&) = delete;
    OutFile& operator=(const OutFile&) = delete;
    ~OutFile() { close(); }
    bool create(const NativePath& p) {
        fd_ = ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        return fd_ >= 0;
    }
    bool write(const uint8_t* d, size_t n) {
        while (n > 0) {
            ssize_t done = ::write(fd_, d, n);
            if (done < 0 && errno == EINTR) continue;
            if (done <= 0) return false;
            d += done;
            n -= static_cast<size_t>(done);
        }
        return true;
    }
    void setDosTime(uint16_t date, uint16_t time) {
        time_ = 0;
        unsigned month = (date >> 5) & 15, day = date & 31;
        if (date == 0 || month < 1 || month > 12 || day < 1) return;
        std::tm tm{};
        tm.tm_year = 80 + (date >> 9);
        tm.tm_mon = static_cast<int>(month) - 1;
        tm.tm_mday = static_cast<int>(day);
        tm.tm_hour = time >> 11;
        tm.tm_min = (time >> 5) & 63;
        tm.tm_sec = (time & 31) * 2;
        tm.tm_isdst = -1;
        time_ = std::mktime(&tm);
    }
    bool close() {
        bool good = true;
        if (fd_ >= 0) {
            if (time_ > 0) {
                struct timespec ts[2] = {{time_, 0}, {time_, 0}};
                ::futimens(fd_, ts);
            }
            good = ::close(fd_) == 0;
        }
        fd_ = -1;
        return good;
    }

private:
    int fd_ = -1;
    time_t time_ = 0;
};

void removeFile(const NativePath& p) { ::unlink(p.c_str()); }
bool replaceFile(const NativePath& from, const NativePath& to) {
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return false;
    return ::rename(from.c_str(), to.c_str()) == 0;
}
void applyAttributes(const NativePath& p, uint32_t dosAttr) {
    if (dosAttr & kAttrReadOnly) ::chmod(p.c_str(), 0444);
}
#endif

// ---- The extraction target: one temporary file per member being written. ----
// Readers may keep several members open at once (a CAB block holds the ends
// and starts of several files), so each open member has its own state.
class FolderTarget final : public ExtractTarget {
public:
    FolderTarget(const std::vector<Member>& members, const NativePath& folder, const ExtractOptions& options,
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

    // Removes temporary files of members the reader never ended (it stopped early).
    void abandon() {
        for (auto& [index, job] : open_) {
            job->file.close();
            removeFile(job->tempPath);
        }
        open_.clear();
    }

    ExtractResult& result() { return result_; }

private:
    struct Open final : OutputSink {
        FolderTarget* owner = nullptr;
        size_t index = 0;
        OutFile file;
        NativePath tempPath, finalPath;
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

    void cancel() {
        cancelled_ = true;
        fail(Status::UserCancel);
    }

    OutputSink* fail(Status s) {
        if (ok(result_.status)) result_.status = s;
        return nullptr;
    }

    bool createTemp(Open& job) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = "~qbx" + std::to_string(tempCounter_++) + ".tmp";
            // A member may be called like a temporary file; neither may take the other's place.
            if (names_.taken(name)) continue;
            NativePath p = joinPath(folder_, name);
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
    NativePath folder_;
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
    NativePath folder = nativePath(folderUtf8);
    if (folderUtf8.empty() || !ensureFolder(folder)) return {Status::MakeDirectory, {}};
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
    if (ok(r.status)) r.status = s;
    return std::move(r);
}

std::unique_ptr<Archive> openArchive(ByteSource& src, Format format, Status* error) {
    switch (format) {
    case Format::Lzh: return openLzh(src, error);
    case Format::Zip: return openZip(src, error);
    case Format::Cab: return openCab(src, error);
    }
    *error = Status::UnknownType;
    return nullptr;
}

bool looksLikeArchive(ByteSource& src, Format format) {
    switch (format) {
    case Format::Lzh: return looksLikeLzh(src);
    case Format::Zip: return looksLikeZip(src);
    case Format::Cab: return looksLikeCab(src);
    }
    return false;
}

MatchRule defaultMatchRule(Format format) { return format == Format::Lzh ? MatchRule::LzhFileName : MatchRule::ZipPath; }

ExtractResult extractArchiveToFolder(const std::string& archiveUtf8, Format format,
                                     const std::vector<std::string>& patterns, MatchRule rule,
                                     const std::string& folderUtf8, const ExtractOptions& options,
                                     const ProgressCallback& progress) {
    std::unique_ptr<ByteSource> src = openFileSource(archiveUtf8);
    if (!src) return {Status::ArcFileOpen, {}};
    Status error = Status::NotArcFile;
    std::unique_ptr<Archive> archive = openArchive(*src, format, &error);
    if (!archive) return {ok(error) ? Status::NotArcFile : error, {}};
    std::vector<bool> wanted = selectMembers(archive->members(), patterns, rule);
    return extractToFolder(*archive, wanted, folderUtf8, options, progress);
}

}  // namespace arc
