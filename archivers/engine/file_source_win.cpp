// File-backed ByteSource on Windows: positioned reads, no shared file pointer.
#include <windows.h>

#include <algorithm>

#include "byte_source.h"
#include "wide_path_win.h"

namespace arc {

namespace {

class FileSource final : public ByteSource {
public:
    FileSource(HANDLE h, uint64_t size) : h_(h), size_(size) {}
    ~FileSource() override { CloseHandle(h_); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    uint64_t size() const override { return size_; }
    size_t readAt(uint64_t offset, uint8_t* dst, size_t n) override {
        size_t done = 0;
        while (done < n && offset + done < size_) {
            OVERLAPPED ov{};
            uint64_t at = offset + done;
            ov.Offset = static_cast<DWORD>(at);
            ov.OffsetHigh = static_cast<DWORD>(at >> 32);
            DWORD chunk = static_cast<DWORD>(std::min<size_t>(n - done, 1u << 30));
            DWORD got = 0;
            if (!ReadFile(h_, dst + done, chunk, &got, &ov) || got == 0) break;
            done += got;
        }
        return done;
    }

private:
    HANDLE h_;
    uint64_t size_;
};
}  // namespace

std::unique_ptr<ByteSource> openFileSource(const std::string& utf8Path) {
    HANDLE h =
        CreateFileW(widenUtf8(utf8Path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(h, &size)) {
        CloseHandle(h);
        return nullptr;
    }
    return std::make_unique<FileSource>(h, static_cast<uint64_t>(size.QuadPart));
}

}  // namespace arc
