// The few file-system calls folder extraction needs, one implementation per
// platform (native_files_win.cpp, native_files_posix.cpp). Paths are UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace arc::native {

std::string joinPath(const std::string& folder, const std::string& name);
// True when the folder exists or was created (one level).
bool ensureFolder(const std::string& folder);
bool exists(const std::string& path);
// Bytes the caller may still write there; UINT64_MAX when unknown (never refuse on a guess).
uint64_t freeBytes(const std::string& folder);
void removeFile(const std::string& path);
// Moves `from` over `to`, replacing a file (also a read-only one) but never a folder.
bool replaceFile(const std::string& from, const std::string& to);
// Hidden, system and read-only DOS bits, as far as the platform has them.
void applyAttributes(const std::string& path, uint32_t dosAttributes);

// A new file, written front to back; creating fails when the name exists.
class OutFile {
public:
    OutFile() = default;
    OutFile(const OutFile&) = delete;
    OutFile& operator=(const OutFile&) = delete;
    ~OutFile() { close(); }
    bool create(const std::string& path);
    bool write(const uint8_t* data, size_t n);
    // The member's DOS time, local time; applied now or at close().
    void setDosTime(uint16_t date, uint16_t time);
    bool close();

private:
    intptr_t handle_ = -1;     // HANDLE or file descriptor; -1 when closed
    int64_t pendingTime_ = 0;  // seconds since 1970, stamped at close where the platform needs that
};

}  // namespace arc::native
