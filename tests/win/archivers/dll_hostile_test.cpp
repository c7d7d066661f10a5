// Member names that try to escape the target folder or trip Windows, made on
// the spot as stored ZIP archives: nothing may land outside the folder, and
// members sharing a file name must all arrive.
#include <gtest/gtest.h>

#include "dll_fixture.h"
#include "lzh_builder.h"
#include "zip_builder.h"

namespace dlltest {
namespace {

bool existsW(const std::string& utf8) { return GetFileAttributesW(toWide(utf8).c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(DllHostileNames, StayInsideTheFolderAndAllArrive) {
    ArchiverDll& zip = library("zip");
    ASSERT_NE(zip.command, nullptr);
    TempFolder work;
    const std::string out = work.path() + "deep\\out\\";
    ASSERT_TRUE(CreateDirectoryW(toWide(work.path() + "deep").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(toWide(out).c_str(), nullptr));
    const std::vector<ZipEntry> entries = {
        {"../../evil.txt", "dotdot", false},
        {"/abs/x.txt", "absolute", false},
        {"C:\\x.txt", "drive", false},
        {"a:stream.txt", "stream", false},
        {"CON.txt", "device", false},
        {"aux", "aux device", false},
        {"ctl\x01\x02.txt", "control", false},
        {"dots...", "trailing dots", false},
        {"readme.txt", "root readme", false},
        {"sub/README.TXT", "deeper readme", false},
        {"\x93\xfa\x96\x7b\x8c\xea.txt", "cp932 name", false},           // 日本語.txt in CP932
        {"\xe4\xb8\xad\xe6\x96\x87.txt", "utf-8 name", true},           // 中文.txt, UTF-8 flag
    };
    std::string arc = work.path() + "hostile.zip";
    ASSERT_TRUE(writeFile(arc, buildStoredZip(entries)));
    std::string report;
    EXPECT_EQ(zip.run("-x -j -o --i \"" + arc + "\" \"" + out + "\"", &report), 0) << report;

    const std::map<std::string, std::string> expected{
        {"evil.txt", "dotdot"},
        {"x.txt", "absolute"},
        {"x (2).txt", "drive"},
        {"stream.txt", "stream"},
        {"_CON.txt", "device"},
        {"_aux", "aux device"},
        {"ctl__.txt", "control"},
        {"dots", "trailing dots"},
        {"readme.txt", "root readme"},
        {"README (2).TXT", "deeper readme"},
        {"\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e.txt", "cp932 name"},
        {"\xe4\xb8\xad\xe6\x96\x87.txt", "utf-8 name"},
    };
    std::map<std::string, std::string> got;
    {
        // Read the output folder through a listing of its own.
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW(toWide(out + "*").c_str(), &fd);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        do {
            std::wstring n = fd.cFileName;
            if (n == L"." || n == L"..") continue;
            auto d = readFile(out + toUtf8(n));
            got[toUtf8(n)] = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? "<dir>" : std::string(d.begin(), d.end());
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    EXPECT_EQ(got, expected);
    // Nothing beside or above the folder.
    EXPECT_EQ(work.files().size(), 2u);  // hostile.zip and deep
    EXPECT_FALSE(existsW(work.path() + "evil.txt"));
    EXPECT_FALSE(existsW(work.path() + "deep\\evil.txt"));
    EXPECT_FALSE(existsW("C:\\abs\\x.txt"));
    EXPECT_FALSE(existsW("C:\\x.txt"));

    // Listing keeps the stored names, in the system code page.
    HARC h = zip.openArchive(nullptr, toAnsi(toWide(arc)).c_str(), 0x00800000);
    ASSERT_NE(h, nullptr);
    IndividualInfo info;
    std::vector<std::string> listed;
    for (int r = zip.findFirst(h, "", &info); r == 0; r = zip.findNext(h, &info)) listed.push_back(info.szFileName);
    EXPECT_EQ(zip.closeArchive(h), 0);
    ASSERT_EQ(listed.size(), entries.size());
    EXPECT_EQ(listed[0], "../../evil.txt");
    EXPECT_EQ(listed[10], "\x93\xfa\x96\x7b\x8c\xea.txt");
    EXPECT_EQ(listed[11], "\x92\x86\x95\xb6.txt");  // 中文.txt, from UTF-8 to CP932
}

TEST(DllHostileNames, PatternsArriveInTheSystemCodePage) {
    ArchiverDll& zip = library("zip");
    TempFolder work;
    std::string arc = work.path() + "names.zip";
    ASSERT_TRUE(writeFile(arc, buildStoredZip({{"\x93\xfa\x96\x7b\x8c\xea.txt", "nihongo", false},
                                               {"other.txt", "other", false}})));
    TempFolder out;
    // The command line is sent in CP932; its pattern must match the decoded member name.
    ASSERT_EQ(zip.run("-x -j -o --i \"" + arc + "\" \"" + out.path() + "\" \xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e.txt"), 0);
    EXPECT_EQ(out.files(), (std::map<std::string, std::string>{{"\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e.txt", "nihongo"}}));
}

TEST(DllHostileNames, LzhBackslashNamesAndAttributeSwitch) {
    ArchiverDll& lzh = library("lzh");
    ASSERT_NE(lzh.command, nullptr);
    TempFolder work;
    const std::vector<LzhEntry> entries = {
        {"..\\..\\evil.txt", "dotdot", 0x20},
        {"\x95\x5c.txt", "hyou", 0x20},               // 表.txt: its trail byte is '\'
        {"doc\\\x83\x5c\x83\x74\x83\x67.txt", "soft", 0x20},  // doc\ソフト.txt
        {"locked.txt", "read-only and hidden", 0x03},
    };
    std::string arc = work.path() + "names.lzh";
    ASSERT_TRUE(writeFile(arc, buildStoredLzh(entries)));
    const std::map<std::string, std::string> expected{
        {"evil.txt", "dotdot"},
        {"\xe8\xa1\xa8.txt", "hyou"},
        {"\xe3\x82\xbd\xe3\x83\x95\xe3\x83\x88.txt", "soft"},
        {"locked.txt", "read-only and hidden"},
    };
    for (bool restore : {false, true}) {
        TempFolder out;
        std::string report;
        ASSERT_EQ(lzh.run("E \"" + arc + "\" -y -c" + (restore ? " -a1" : "") + " -n \"" + out.path() + "\"", &report), 0)
            << report;
        EXPECT_EQ(out.files(), expected);
        DWORD attr = GetFileAttributesW(toWide(out.path() + "locked.txt").c_str());
        ASSERT_NE(attr, INVALID_FILE_ATTRIBUTES);
        const DWORD both = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
        EXPECT_EQ(attr & both, restore ? both : 0u) << "-a1 " << restore;
        // A second run over the read-only file replaces it.
        ASSERT_EQ(lzh.run("E \"" + arc + "\" -y -c -a1 -n \"" + out.path() + "\" locked.txt"), 0);
        EXPECT_EQ(out.files().size(), expected.size());
    }
    EXPECT_EQ(work.files().size(), 1u);
}

}  // namespace
}  // namespace dlltest
