// The one run-state record of the program, shared by start-up, the readers
// and the viewer.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/settings.h"

namespace quibex {

struct DocumentEntry {
    std::wstring Name;
    std::wstring Folder;  // "\" for a member at the top, else "a\b\"
};

struct AppState {
    std::wstring IniPath;
    std::wstring ArchivePath;
    std::wstring ArchiveExtension;
    std::wstring ArchiveKind;  // "LHA", "ZIP", "CAB", "CABSFX" or empty
    std::wstring LhaArchivePath, ZipArchivePath, CabArchivePath;
    std::wstring ViewedArchivePath;
    std::wstring WorkFolder, CabWorkFolder;
    WORD UnlhaVersion = 0, UnzipVersion = 0, CabVersion = 0;
    bool ReadFailed = false;
    int DocumentCount = 0;
    std::vector<DocumentEntry> Documents;
    std::wstring CurrentFile;                  // first name of the work-folder enumeration
    std::vector<std::wstring> ExtractedFiles;  // every name of that enumeration, in its order
    bool ViewerLoading = false;
    HWND LibraryOwner = nullptr;  // the window that owns the archiver library calls (the viewer)
    HWND MessageOwner = nullptr;
    HHOOK MessageHook = nullptr;
    bool BuiltInHelp = false;  // What's This help from the built-in topics; off while an archive is shown
};

// The application title used in messages and for finding a running instance.
inline constexpr const wchar_t* kAppTitle = L"Quibex";

AppState& App();
Settings& AppSettings();

}  // namespace quibex
