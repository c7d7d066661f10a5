// The caller's side of the archiver libraries. Each library is loaded by
// name on first use, from the program folder first; a library or routine that
// is missing makes the call return the family's failure value.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "archive_entry_info.h"
#include "archive/reader_family.h"
#include "core/handle.h"

namespace quibex {

// The per-member record of the listing routines.
using ArchiveEntryInfo = archiver_api::ArchiveEntryInfo;

using HARC = HANDLE;

// Results the family uses when a call cannot be made at all.
inline constexpr int kErrorNotSupport = 0x8023;  // routine not present
inline constexpr int kErrorHarcNotOpened = 0x8021;
inline constexpr DWORD kOpenErrorMessagesOff = 0x00800000;

class ArchiverLibrary {
public:
    // `dllName` such as L"UNLHA32.DLL"; `prefix` such as "Unlha".
    ArchiverLibrary(const wchar_t* dllName, const char* prefix);
    ~ArchiverLibrary();
    ArchiverLibrary(const ArchiverLibrary&) = delete;
    ArchiverLibrary& operator=(const ArchiverLibrary&) = delete;

    const wchar_t* DllName() const { return dllName_; }
    // True when the library could be loaded (loads it on the first call).
    bool Available();

    WORD GetVersion();     // 0 when missing
    WORD GetSubVersion();  // 0 when missing (only the LZH library has it)
    BOOL GetRunning();     // FALSE when missing
    BOOL GetCursorMode();
    BOOL SetCursorMode(BOOL mode);
    BOOL CheckArchive(const std::string& ansiPath, int mode);
    // The command routine; kErrorNotSupport when the library is missing.
    int Command(HWND owner, const std::string& ansiCommandLine, std::string* output = nullptr);
    HARC OpenArchive(HWND owner, const std::string& ansiPath, DWORD mode);
    int FindFirst(HARC archive, const std::string& ansiPatterns, ArchiveEntryInfo* entry);
    int FindNext(HARC archive, ArchiveEntryInfo* entry);
    int CloseArchive(HARC archive);

private:
    FARPROC Routine(const char* suffix);

    const wchar_t* dllName_;
    const char* prefix_;
    UniqueModule module_;
    bool tried_ = false;
};

// The library of a kind, loaded on first use.
ArchiverLibrary& LibraryOf(ReaderKind kind);

// Version query, made when a version is first needed: 0 on any failure, so 0
// means "library missing".
WORD LibraryVersion(ReaderKind kind);

// Full path of a file beside the running executable.
std::wstring ProgramFolderFile(const wchar_t* name);

}  // namespace quibex
