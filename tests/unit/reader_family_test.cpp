#include <gtest/gtest.h>

#include "archive/reader_family.h"

namespace {

using quibex::ReaderKind;

TEST(ReaderFamily, ExtractionCommandsPerLibrary) {
    const std::wstring A = L"C:\\書庫\\a b.lzh", W = L"C:\\Quibex\\temp\\";
    EXPECT_EQ(quibex::ExtractionCommand(ReaderKind::Lzh, A, W, false, quibex::TextTargets(true, L"DOC")),
              L"E \"C:\\書庫\\a b.lzh\" -y -c -a1 -n \"C:\\Quibex\\temp\\\" *.txt *.DOC");
    EXPECT_EQ(quibex::ExtractionCommand(ReaderKind::Lzh, A, W, true, quibex::TextTargets(false, L"DOC")),
              L"E \"C:\\書庫\\a b.lzh\" -y -c -a1 \"C:\\Quibex\\temp\\\" readme.txt");
    EXPECT_EQ(quibex::ExtractionCommand(ReaderKind::Zip, L"a.zip", W, false, quibex::TextTargets(true, L"")),
              L"-x -j -o --i \"a.zip\" \"C:\\Quibex\\temp\\\" *.txt");
    EXPECT_EQ(quibex::ExtractionCommand(ReaderKind::Zip, L"a.zip", W, true, L"*.txt"),
              L"-x -j -o \"a.zip\" \"C:\\Quibex\\temp\\\" *.txt");
    EXPECT_EQ(quibex::ExtractionCommand(ReaderKind::Cab, L"a.cab", W, false, quibex::TextTargets(true, L" DOC  ME ")),
              L"-x -j -o -i \"a.cab\" \"C:\\Quibex\\temp\\\" *.txt *.DOC *.ME");
    // The 7z and RAR libraries take the ZIP library's switches.
    EXPECT_EQ(quibex::ExtractionCommand(ReaderKind::SevenZip, L"a.7z", W, false, quibex::TextTargets(false, L"")),
              L"-x -j -o --i \"a.7z\" \"C:\\Quibex\\temp\\\" readme.txt");
    EXPECT_EQ(quibex::ExtractionCommand(ReaderKind::Rar, L"a.part2.rar", W, true, L"*.txt"),
              L"-x -j -o \"a.part2.rar\" \"C:\\Quibex\\temp\\\" *.txt");
}

TEST(ReaderFamily, DocumentCommandsAlwaysSuppressProgress) {
    const std::wstring W = L"C:\\Q\\temp\\";
    EXPECT_EQ(quibex::DocumentCommand(ReaderKind::Lzh, L"a.lzh", W, L"doc/sub/guide.chm"),
              L"E \"a.lzh\" -y -c -a1 -n -p \"C:\\Q\\temp\\\" \"doc/sub/guide.chm\"");
    EXPECT_EQ(quibex::DocumentCommand(ReaderKind::Zip, L"a.zip", W, L"guide.chm"),
              L"-x -j -o --i \"a.zip\" \"C:\\Q\\temp\\\" \"guide.chm\"");
    EXPECT_EQ(quibex::DocumentCommand(ReaderKind::Cab, L"a.cab", W, L"x.hlp"),
              L"-x -j -o -i \"a.cab\" \"C:\\Q\\temp\\\" \"x.hlp\"");
    EXPECT_EQ(quibex::DocumentCommand(ReaderKind::SevenZip, L"a.7z", W, L"doc/guide.chm"),
              L"-x -j -o --i \"a.7z\" \"C:\\Q\\temp\\\" \"doc/guide.chm\"");
    EXPECT_EQ(quibex::DocumentCommand(ReaderKind::Rar, L"a.r00", W, L"x.hlp"),
              L"-x -j -o --i \"a.r00\" \"C:\\Q\\temp\\\" \"x.hlp\"");
}

TEST(ReaderFamily, SuccessRulesAndErrorTexts) {
    EXPECT_TRUE(quibex::ReaderSucceeded(ReaderKind::Zip, 0x0001));
    EXPECT_TRUE(quibex::ReaderSucceeded(ReaderKind::Zip, 0x800D));
    EXPECT_TRUE(quibex::ReaderSucceeded(ReaderKind::Zip, -1));
    EXPECT_FALSE(quibex::ReaderSucceeded(ReaderKind::Zip, 0x8010));
    // A declined password leaves the other members readable; a missing one is an error.
    EXPECT_TRUE(quibex::ReaderSucceeded(ReaderKind::Zip, 0x8020));
    EXPECT_FALSE(quibex::ReaderSucceeded(ReaderKind::Zip, 0x800A));
    EXPECT_FALSE(quibex::ReaderSucceeded(ReaderKind::Cab, 0x8020));
    EXPECT_FALSE(quibex::ReaderSucceeded(ReaderKind::Lzh, 1));
    EXPECT_FALSE(quibex::ReaderSucceeded(ReaderKind::Cab, 0x800D));
    EXPECT_TRUE(quibex::ReaderSucceeded(ReaderKind::Cab, 0));
    EXPECT_EQ(quibex::LibraryErrorMessage(ReaderKind::Zip, 0x8010), L"UNZIP32.DLL からエラー(8010)が報告されました。");
    EXPECT_EQ(quibex::LibraryErrorMessage(ReaderKind::Lzh, 0x801A), L"UNLHA32.DLL からエラー(801A)が報告されました。");
    EXPECT_EQ(quibex::Hex(0), L"0");
    // The 7z and RAR libraries: an encrypted member skipped, the others read.
    for (ReaderKind kind : {ReaderKind::SevenZip, ReaderKind::Rar}) {
        EXPECT_TRUE(quibex::ReaderSucceeded(kind, 0x800A));
        EXPECT_FALSE(quibex::ReaderSucceeded(kind, 0x8019));
    }
}

}  // namespace
