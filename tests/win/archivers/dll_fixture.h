// Loads an archiver library by name, as the viewer does, and offers the
// file helpers the library tests share.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "archive_entry_info.h"

namespace dlltest {

using IndividualInfo = archiver_api::ArchiveEntryInfo;

using HARC = HANDLE;

struct ArchiverDll {
    HMODULE module = nullptr;
    std::string prefix;
    WORD(WINAPI* getVersion)() = nullptr;
    WORD(WINAPI* getSubVersion)() = nullptr;  // UNLHA32, 7-ZIP32 and UNRAR32
    BOOL(WINAPI* getRunning)() = nullptr;
    BOOL(WINAPI* getCursorMode)() = nullptr;
    BOOL(WINAPI* setCursorMode)(BOOL) = nullptr;
    BOOL(WINAPI* checkArchive)(LPCSTR, int) = nullptr;
    int(WINAPI* command)(HWND, LPCSTR, LPSTR, DWORD) = nullptr;
    HARC(WINAPI* openArchive)(HWND, LPCSTR, DWORD) = nullptr;
    int(WINAPI* findFirst)(HARC, LPCSTR, IndividualInfo*) = nullptr;
    int(WINAPI* findNext)(HARC, IndividualInfo*) = nullptr;
    int(WINAPI* closeArchive)(HARC) = nullptr;

    // Loads `file` by name and resolves every routine; false if any is missing.
    bool load(const wchar_t* file, const std::string& routinePrefix);
    // Runs a command line (given in UTF-8, sent in the system code page).
    int run(const std::string& utf8CommandLine, std::string* report = nullptr);
};

// The library for "lzh", "zip", "cab", "7z" or "rar", loaded once per test program.
ArchiverDll& library(const std::string& format);

// Conversions for building command lines.
std::string toAnsi(const std::wstring& w);
std::wstring toWide(const std::string& utf8);
std::string toUtf8(const std::wstring& w);

// A Windows path (UTF-8) to one of the archives made at build time.
std::string archivePath(const std::string& name);
std::vector<uint8_t> readFile(const std::string& utf8Path);
bool writeFile(const std::string& utf8Path, const std::vector<uint8_t>& data);

// A fresh empty folder under the temporary folder, removed with its files.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }  // UTF-8, ends in '\'
    // Every entry directly inside: name (UTF-8) -> contents ("<dir>" for folders).
    std::map<std::string, std::string> files() const;

private:
    std::string path_;
};

}  // namespace dlltest
