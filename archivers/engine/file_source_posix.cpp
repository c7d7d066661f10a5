// File-backed ByteSource on POSIX: positioned reads, no shared file pointer.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "byte_source.h"

namespace arc {

namespace {
class FileSource final : public ByteSource {
public:
    FileSource(int fd, uint64_t size) : fd_(fd), size_(size) {}
    ~FileSource() override { ::close(fd_); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    uint64_t size() const override { return size_; }
    size_t readAt(uint64_t offset, uint8_t* dst, size_t n) override {
        size_t done = 0;
        while (done < n && offset + done < size_) {
            ssize_t got = ::pread(fd_, dst + done, n - done, static_cast<off_t>(offset + done));
            if (got <= 0) break;
            done += static_cast<size_t>(got);
        }
        return done;
    }

private:
    int fd_;
    uint64_t size_;
};
}  // namespace

std::unique_ptr<ByteSource> openFileSource(const std::string& utf8Path) {
    int fd = ::open(utf8Path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<FileSource>(fd, static_cast<uint64_t>(st.st_size));
}

}  // namespace arc
