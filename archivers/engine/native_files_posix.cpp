// File-system calls of folder extraction on POSIX.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "native_files.h"

namespace arc::native {

namespace {
constexpr uint32_t kAttrReadOnly = 0x01;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    std::string p = folder;
    if (!p.empty() && p.back() != '/') p += '/';
    return p + name;
}

bool ensureFolder(const std::string& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    return ::mkdir(folder.c_str(), 0777) == 0;
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

uint64_t freeBytes(const std::string& folder) {
    struct statvfs vs {};
    if (::statvfs(folder.c_str(), &vs) != 0) return UINT64_MAX;
    return static_cast<uint64_t>(vs.f_bavail) * vs.f_frsize;
}

void removeFile(const std::string& path) { ::unlink(path.c_str()); }

bool replaceFile(const std::string& from, const std::string& to) {
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return false;
    return ::rename(from.c_str(), to.c_str()) == 0;
}

void applyAttributes(const std::string& path, uint32_t dosAttributes) {
    if (dosAttributes & kAttrReadOnly) ::chmod(path.c_str(), 0444);
}

bool OutFile::create(const std::string& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    handle_ = fd;
    return true;
}

bool OutFile::write(const uint8_t* d, size_t n) {
    while (n > 0) {
        ssize_t done = ::write(static_cast<int>(handle_), d, n);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
        d += done;
        n -= static_cast<size_t>(done);
    }
    return true;
}

// Stamped at close(): a later write would move the modification time again.
void OutFile::setDosTime(uint16_t date, uint16_t time) {
    pendingTime_ = 0;
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
    pendingTime_ = std::mktime(&tm);
}

bool OutFile::close() {
    bool good = true;
    if (handle_ >= 0) {
        int fd = static_cast<int>(handle_);
        if (pendingTime_ > 0) {
            struct timespec ts[2] = {{static_cast<time_t>(pendingTime_), 0}, {static_cast<time_t>(pendingTime_), 0}};
            ::futimens(fd, ts);
        }
        good = ::close(fd) == 0;
    }
    handle_ = -1;
    return good;
}

}  // namespace arc::native
