// The loader: libraries by name from the program folder, failure values when absent.
#include <gtest/gtest.h>
#include <windows.h>

#include "archive/archiver_library.h"

namespace {

TEST(WinArchiverLibrary, ReadsTheVersionOfALibraryBesideTheProgram) {
    quibex::ArchiverLibrary lib(L"QXVER32.DLL", "Unlha");
    EXPECT_TRUE(lib.Available());
    EXPECT_EQ(lib.GetVersion(), 321);
    EXPECT_EQ(lib.GetSubVersion(), 7);
    // Routines the library lacks give the family's failure values.
    EXPECT_FALSE(lib.GetRunning());
    EXPECT_FALSE(lib.CheckArchive("x.lzh", 0));
    EXPECT_EQ(lib.Command(nullptr, "e x.lzh"), quibex::kErrorNotSupport);
    EXPECT_EQ(lib.OpenArchive(nullptr, "x.lzh", quibex::kOpenErrorMessagesOff), nullptr);
}

TEST(WinArchiverLibrary, MissingLibraryMeansVersionZero) {
    quibex::ArchiverLibrary lib(L"NOSUCH32.DLL", "Unlha");
    EXPECT_FALSE(lib.Available());
    EXPECT_EQ(lib.GetVersion(), 0);
    EXPECT_EQ(lib.GetSubVersion(), 0);
    EXPECT_EQ(lib.Command(nullptr, "e x.lzh"), quibex::kErrorNotSupport);
    quibex::ArchiveEntryInfo info{};
    EXPECT_EQ(lib.FindFirst(nullptr, "", &info), quibex::kErrorNotSupport);
}

}  // namespace
