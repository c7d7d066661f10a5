// File-system calls of folder extraction on Windows: wide APIs throughout.
#include <windows.h>

#include <algorithm>

#include "native_files.h"
#include "wide_path_win.h"

namespace arc::native {

namespace {

constexpr DWORD kDosBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

HANDLE handleOf(intptr_t h) { return reinterpret_cast<HANDLE>(h); }

}  // namespace

std::string joinPath(const std::string& folder, const std::string& name) {
    std::string p = folder;
    if (!p.empty() && p.back() != '\\' && p.back() != '/') p += '\\';
    return p + name;
}

bool ensureFolder(const std::string& folder) {
    std::wstring w = widenUtf8(folder);
    DWORD a = GetFileAttributesW(w.c_str());
    if (a != INVALID_FILE_ATTRIBUTES) return (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return CreateDirectoryW(w.c_str(), nullptr) != 0;
}

bool exists(const std::string& path) { return GetFileAttributesW(widenUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

uint64_t freeBytes(const std::string& folder) {
    ULARGE_INTEGER avail{};
    if (!GetDiskFreeSpaceExW(widenUtf8(folder).c_str(), &avail, nullptr, nullptr)) return UINT64_MAX;
    return avail.QuadPart;
}

void removeFile(const std::string& path) { DeleteFileW(widenUtf8(path).c_str()); }

bool replaceFile(const std::string& from, const std::string& to) {
    std::wstring target = widenUtf8(to);
    // A read-only file from an earlier "-a1" command must not block the overwrite.
    DWORD a = GetFileAttributesW(target.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0 && (a & kDosBits))
        SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    return MoveFileExW(widenUtf8(from).c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

void applyAttributes(const std::string& path, uint32_t dosAttributes) {
    DWORD a = dosAttributes & kDosBits;
    if (a) SetFileAttributesW(widenUtf8(path).c_str(), a);
}

bool OutFile::create(const std::string& path) {
    HANDLE h =
        CreateFileW(widenUtf8(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    handle_ = reinterpret_cast<intptr_t>(h);
    return true;
}

bool OutFile::write(const uint8_t* d, size_t n) {
    while (n > 0) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(n, 1u << 30)), done = 0;
        if (!WriteFile(handleOf(handle_), d, chunk, &done, nullptr) || done == 0) return false;
        d += done;
        n -= done;
    }
    return true;
}

void OutFile::setDosTime(uint16_t date, uint16_t time) {
    FILETIME local, utc;
    if (date != 0 && DosDateTimeToFileTime(date, time, &local) && LocalFileTimeToFileTime(&local, &utc))
        SetFileTime(handleOf(handle_), nullptr, nullptr, &utc);
}

bool OutFile::close() {
    bool good = true;
    if (handle_ != -1) good = CloseHandle(handleOf(handle_)) != 0;
    handle_ = -1;
    return good;
}

}  // namespace arc::native
