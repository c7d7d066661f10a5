// The run-state record of the program: the INI, the work folders and the
// windows' hand-overs. What an archive is and what it holds travel as values
// (archive/opened_archive.h), not through here.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/settings.h"

namespace quibex {

struct AppState {
    std::wstring IniPath;
    std::wstring WorkFolder, CabWorkFolder;
    bool ReadFailed = false;
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
