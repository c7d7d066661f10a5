// One archiver library of the family, parameterised by the format it reads.
// The three DLLs are thin export tables over an instance of this class; every
// method catches everything and answers with the family's codes.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "family.h"
#include "folder_extract.h"

namespace arcdll {

struct LibraryTraits {
    arc::Format format;
    WORD version;     // × 100
    WORD subVersion;  // LZH only; 0 elsewhere
    char separator;   // how listed names separate folders, like the format's own archivers
};

class Library {
public:
    explicit Library(const LibraryTraits& traits) : traits_(traits) {}
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    WORD version() const { return traits_.version; }
    WORD subVersion() const { return traits_.subVersion; }
    BOOL running() const { return running_.load() ? TRUE : FALSE; }
    BOOL cursorMode() const { return cursorMode_.load() ? TRUE : FALSE; }
    BOOL setCursorMode(BOOL on) {
        cursorMode_.store(on != FALSE);
        return TRUE;
    }

    BOOL checkArchive(LPCSTR path, int mode) noexcept;
    int command(HWND owner, LPCSTR cmdLine, LPSTR out, DWORD outSize) noexcept;

    HARC openArchive(HWND owner, LPCSTR path, DWORD mode) noexcept;
    int findFirst(HARC harc, LPCSTR patterns, IndividualInfo* info) noexcept;
    int findNext(HARC harc, IndividualInfo* info) noexcept;
    int closeArchive(HARC harc) noexcept;

private:
    struct OpenState {
        std::unique_ptr<arc::ByteSource> source;
        std::unique_ptr<arc::Archive> archive;
        DWORD mode = 0;
        std::vector<bool> selected;
        size_t cursor = 0;
        bool searching = false;
    };

    int runCommand(HWND owner, const std::string& utf8, std::string& report);
    int nextMatch(OpenState& st, IndividualInfo* info);
    void fillInfo(const arc::Member& m, IndividualInfo* info) const;
    arc::MatchRule listRule(DWORD mode) const;

    LibraryTraits traits_;
    std::atomic<bool> running_{false};
    std::atomic<bool> cursorMode_{true};
    std::mutex handlesMutex_;
    std::map<uintptr_t, std::unique_ptr<OpenState>> handles_;
    uintptr_t nextHandle_ = 0x5100;
};

// Opens a file named in the system code page; null when it cannot be read.
std::unique_ptr<arc::ByteSource> openAnsiFile(LPCSTR path);

}  // namespace arcdll
