// Which paths count as the program's work folders: the only ones it empties.
#include <gtest/gtest.h>

#include "archive/work_folder_names.h"

namespace {

TEST(WorkFolderNames, OnlyTheProgramsOwnFoldersCount) {
    struct Case {
        const wchar_t* path;
        bool work, cab;
    } cases[] = {
        {L"C:\\Program Files\\Quibex\\temp\\", true, false},
        {L"C:\\Program Files\\Quibex\\TEMP", true, false},
        {L"C:\\Users\\a\\AppData\\Local\\Temp\\Quibex temp\\", true, false},
        {L"C:\\Quibex\\temp\\qx-4242\\", true, false},
        {L"\\\\server\\share\\Quibex\\temp\\", true, false},
        {L"C:\\Users\\a\\AppData\\Local\\Temp\\~quibex.tmp", false, true},
        {L"C:\\Users\\a\\AppData\\Local\\Temp\\~quibex.tmp-4242", false, true},
        {L"", false, false},
        {L"\\", false, false},
        {L"C:\\", false, false},
        {L"temp\\", false, false},             // relative: the current folder's
        {L"C:\\temp\\", true, false},           // a program at a drive root
        {L"C:\\Quibex\\docs\\", false, false},
        {L"C:\\Quibex\\qx-4242\\", false, false},  // not inside a work folder
        {L"C:\\Quibex\\temp\\qx-\\", false, false},
        {L"C:\\Quibex\\temp\\qx-12a\\", false, false},
        {L"C:\\Temp\\~quibex.tmp-x", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(quibex::IsWorkFolderPath(c.path), c.work) << std::string(c.path, c.path + wcslen(c.path));
        EXPECT_EQ(quibex::IsCabWorkFolderPath(c.path), c.cab);
    }
    EXPECT_TRUE(quibex::IsWorkFolderPath(quibex::InstanceWorkFolder(quibex::WorkFolderFor(L"D:\\Tools\\Quibex"), 77)));
    EXPECT_TRUE(quibex::IsCabWorkFolderPath(quibex::InstanceCabWorkFolder(quibex::CabWorkFolderFor(L"D:\\Tmp\\"), 77)));
    EXPECT_TRUE(quibex::IsWorkFolderPath(quibex::FallbackWorkFolderFor(L"D:\\Tmp\\")));
}

}  // namespace
