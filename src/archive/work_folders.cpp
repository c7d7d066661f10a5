#include "archive/work_folders.h"

#include <windows.h>

#include "core/app_state.h"
#include "core/paths.h"

namespace quibex {

namespace {

// Each side-by-side instance keeps a lock file beside its sub-folder open
// without delete sharing while it runs, so a sub-folder whose lock file can be
// deleted belongs to an instance that has ended.
HANDLE g_lock = INVALID_HANDLE_VALUE;

std::wstring WithSlash(const std::wstring& folder) {
    return !folder.empty() && folder.back() == L'\\' ? folder : folder + L"\\";
}

void DeleteFilesIn(const std::wstring& folder) {
    std::wstring dir = WithSlash(folder);
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"*.*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        std::wstring path = dir + fd.cFileName;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    } while (FindNextFileW(h, &fd));
    FindClose(h);
}

void RemoveFolderWithFiles(const std::wstring& folder) {
    DeleteFilesIn(folder);
    RemoveDirectoryW(folder.c_str());
}

// Removes sub-folders left by side-by-side instances that no longer run.
void RemoveDeadInstanceFolders(const std::wstring& parent) {
    std::wstring dir = WithSlash(parent);
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"qx-*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        std::wstring sub = dir + fd.cFileName;
        std::wstring lock = sub + L".lock";
        SetFileAttributesW(lock.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (DeleteFileW(lock.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) RemoveFolderWithFiles(sub);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
}

bool CreateHiddenFolder(const std::wstring& folder) {
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_HIDDEN);
    return true;
}

// True when a file can be created in the folder.
bool Writable(const std::wstring& folder) {
    std::wstring probe = WithSlash(folder) + L"~quibex-probe.tmp";
    HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

std::wstring TempPath() {
    wchar_t buf[MAX_PATH + 1] = {};
    DWORD n = GetTempPathW(static_cast<DWORD>(std::size(buf)), buf);
    return n ? std::wstring(buf) : L"C:\\";
}

}  // namespace

std::wstring WorkFolderFor(const std::wstring& appFolder) {
    return appFolder + (!appFolder.empty() && appFolder.back() == L'\\' ? L"temp" : L"\\temp");
}

std::wstring CabWorkFolderFor(const std::wstring& tempPath) { return WithSlash(tempPath) + L"~quibex.tmp"; }

void PrepareWorkFolders(bool sideBySide) {
    AppState& app = App();
    std::wstring work = WorkFolderFor(ApplicationFolder());
    if (!PathExists(work)) CreateHiddenFolder(work);
    else DeleteFilesIn(work);
    if (!PathExists(work) || !Writable(work)) {
        // A read-only program folder: use one under the temporary folder.
        work = WithSlash(TempPath()) + L"Quibex temp";
        if (!PathExists(work)) CreateHiddenFolder(work);
        else DeleteFilesIn(work);
    }
    std::wstring cab = CabWorkFolderFor(TempPath());

    if (sideBySide) {
        RemoveDeadInstanceFolders(work);
        std::wstring mine = L"qx-" + std::to_wstring(GetCurrentProcessId());
        work = WithSlash(work) + mine;
        RemoveFolderWithFiles(work);
        CreateHiddenFolder(work);
        g_lock = CreateFileW((work + L".lock").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_HIDDEN, nullptr);
        cab += L"-" + std::to_wstring(GetCurrentProcessId());
    }
    app.WorkFolder = WithSlash(work);
    app.CabWorkFolder = cab;
    RemoveCabWorkFolder();
}

void DeleteWorkFiles() { DeleteFilesIn(App().WorkFolder); }

void RemoveCabWorkFolder() {
    const std::wstring& cab = App().CabWorkFolder;
    if (cab.empty()) return;
    DeleteFilesIn(cab);
    RemoveDirectoryW(cab.c_str());
}

}  // namespace quibex
