#include "archive/work_folders.h"

#include <windows.h>

#include "archive/work_folder_names.h"
#include "core/app_state.h"
#include "core/handle.h"
#include "core/paths.h"

namespace quibex {

namespace {

// Each side-by-side instance keeps a lock file beside its sub-folder open
// without delete sharing while it runs, so a sub-folder whose lock file can be
// deleted belongs to an instance that has ended.
UniqueHandle g_lock;

std::wstring WithSlash(const std::wstring& folder) {
    return !folder.empty() && folder.back() == L'\\' ? folder : folder + L"\\";
}

// Deletes the plain files of a folder the program named as one of its own
// work folders; any other path (an empty one above all) is left alone.
void DeleteFilesIn(const std::wstring& folder) {
    if (!IsWorkFolderPath(folder) && !IsCabWorkFolderPath(folder)) return;
    std::wstring dir = WithSlash(folder);
    WIN32_FIND_DATAW fd;
    UniqueFind find(FindFirstFileW((dir + L"*.*").c_str(), &fd));
    if (!find) return;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        std::wstring path = dir + fd.cFileName;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    } while (FindNextFileW(find.get(), &fd));
}

void RemoveFolderWithFiles(const std::wstring& folder) {
    if (!IsWorkFolderPath(folder) && !IsCabWorkFolderPath(folder)) return;
    DeleteFilesIn(folder);
    RemoveDirectoryW(folder.c_str());
}

// Removes sub-folders left by side-by-side instances that no longer run.
void RemoveDeadInstanceFolders(const std::wstring& parent) {
    std::wstring dir = WithSlash(parent);
    WIN32_FIND_DATAW fd;
    UniqueFind find(FindFirstFileW((dir + L"qx-*").c_str(), &fd));
    if (!find) return;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        std::wstring sub = dir + fd.cFileName;
        std::wstring lock = sub + L".lock";
        SetFileAttributesW(lock.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (DeleteFileW(lock.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) RemoveFolderWithFiles(sub);
    } while (FindNextFileW(find.get(), &fd));
}

bool CreateHiddenFolder(const std::wstring& folder) {
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_HIDDEN);
    return true;
}

// True when a file can be created in the folder.
bool Writable(const std::wstring& folder) {
    std::wstring probe = WithSlash(folder) + L"~quibex-probe.tmp";
    UniqueHandle file(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return static_cast<bool>(file);
}

std::wstring TempPath() {
    wchar_t buf[MAX_PATH + 1] = {};
    DWORD n = GetTempPathW(static_cast<DWORD>(std::size(buf)), buf);
    return n ? std::wstring(buf) : L"C:\\";
}

void CreateOrEmpty(const std::wstring& folder) {
    if (!PathExists(folder))
        CreateHiddenFolder(folder);
    else
        DeleteFilesIn(folder);
}

}  // namespace

void PrepareWorkFolders(bool sideBySide) {
    AppState& app = App();
    std::wstring work = WorkFolderFor(ApplicationFolder());
    CreateOrEmpty(work);
    if (!PathExists(work) || !Writable(work)) {
        // A read-only program folder: use one under the temporary folder.
        work = FallbackWorkFolderFor(TempPath());
        CreateOrEmpty(work);
    }
    std::wstring cab = CabWorkFolderFor(TempPath());

    if (sideBySide) {
        RemoveDeadInstanceFolders(work);
        work = InstanceWorkFolder(work, GetCurrentProcessId());
        RemoveFolderWithFiles(work);
        CreateHiddenFolder(work);
        g_lock.reset(CreateFileW((work + L".lock").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_HIDDEN, nullptr));
        cab = InstanceCabWorkFolder(cab, GetCurrentProcessId());
    }
    app.WorkFolder = WithSlash(work);
    app.CabWorkFolder = cab;
    RemoveCabWorkFolder();
}

void DeleteWorkFiles() { DeleteFilesIn(App().WorkFolder); }

void RemoveCabWorkFolder() { RemoveFolderWithFiles(App().CabWorkFolder); }

}  // namespace quibex
