// Deleting the work files touches nothing but a folder named as a work
// folder: an empty path (the current folder) or a stray one keeps its files.
#include <gtest/gtest.h>
#include <windows.h>

#include "archive/work_folders.h"
#include "core/app_state.h"
#include "test_folder.h"

namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(WinWorkFolders, OnlyAFolderNamedAsAWorkFolderIsEmptied) {
    TestFolder root(L"qxworkfolders");
    CreateDirectoryW(root.file(L"temp").c_str(), nullptr);
    CreateDirectoryW(root.file(L"docs").c_str(), nullptr);
    WriteBytes(root.file(L"keep.txt"), "user file");
    WriteBytes(root.file(L"docs\\keep.txt"), "user file");
    WriteBytes(root.file(L"temp\\readme.txt"), "extracted");

    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(root.path().c_str());
    quibex::AppState& app = quibex::App();
    for (const std::wstring& stray : {std::wstring(), root.file(L"docs"), std::wstring(L"temp\\")}) {
        app.WorkFolder = stray;
        app.CabWorkFolder = stray;
        quibex::DeleteWorkFiles();
        quibex::RemoveCabWorkFolder();
    }
    SetCurrentDirectoryW(previous);
    EXPECT_TRUE(Exists(root.file(L"keep.txt")));
    EXPECT_TRUE(Exists(root.file(L"docs\\keep.txt")));
    EXPECT_TRUE(Exists(root.file(L"temp\\readme.txt"))) << "a relative path is not the program's";

    app.WorkFolder = root.file(L"temp") + L"\\";
    quibex::DeleteWorkFiles();
    EXPECT_FALSE(Exists(root.file(L"temp\\readme.txt")));
    app = quibex::AppState{};
}

}  // namespace
