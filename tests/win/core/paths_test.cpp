// Path routines against the real file system under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include "core/path_text.h"
#include "core/paths.h"
#include "test_folder.h"

namespace {

TEST(WinPaths, LongPathNameRestoresOnDiskCase) {
    TestFolder dir(L"qx-long");
    std::wstring mixed = dir.file(L"MixedCase");
    ASSERT_TRUE(CreateDirectoryW(mixed.c_str(), nullptr));
    WriteBytes(mixed + L"\\ReadMe.Txt", "x");
    WriteBytes(mixed + L"\\日本語 ファイル.txt", "x");

    std::wstring expectedFolder = quibex::LongPathName(dir.path());
    ASSERT_FALSE(expectedFolder.empty());
    EXPECT_EQ(quibex::LongPathName(quibex::ToUpper(mixed + L"\\README.TXT")), expectedFolder + L"\\MixedCase\\ReadMe.Txt");
    EXPECT_EQ(quibex::LongPathName(mixed + L"\\日本語 ファイル.TXT"), expectedFolder + L"\\MixedCase\\日本語 ファイル.txt");
    EXPECT_EQ(quibex::LongPathName(L"  " + mixed + L"\\readme.txt  "), expectedFolder + L"\\MixedCase\\ReadMe.Txt");
}

TEST(WinPaths, LongPathNameIsEmptyForMissingPartsAndKeepsBareRoots) {
    TestFolder dir(L"qx-long2");
    EXPECT_EQ(quibex::LongPathName(dir.file(L"nothing\\here.txt")), L"");
    EXPECT_EQ(quibex::LongPathName(dir.file(L"*")), L"");
    EXPECT_EQ(quibex::LongPathName(L"c:"), L"C:\\");
    EXPECT_EQ(quibex::LongPathName(L"c:\\"), L"C:\\");
    EXPECT_EQ(quibex::LongPathName(L"\\\\server"), L"");
}

TEST(WinPaths, FileExistsUnquotesAndNeedsAReadableFile) {
    TestFolder dir(L"qx-exists");
    std::wstring file = dir.file(L"書庫 1.lzh");
    WriteBytes(file, "data");
    std::wstring quoted = L"\"" + file + L"\"";
    EXPECT_TRUE(quibex::FileExists(quoted));
    EXPECT_EQ(quoted, file);

    std::wstring folder = L"\"" + dir.path() + L"\\\"";
    EXPECT_FALSE(quibex::FileExists(folder));  // a folder is not a file
    EXPECT_EQ(folder, dir.path());

    std::wstring missing = L"\"" + dir.file(L"missing.lzh") + L"\"";
    EXPECT_FALSE(quibex::FileExists(missing));
    EXPECT_EQ(missing, dir.file(L"missing.lzh"));

    std::wstring empty;
    EXPECT_FALSE(quibex::FileExists(empty));
}

}  // namespace
