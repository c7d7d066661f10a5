// 7-ZIP32.DLL and UNRAR32.DLL driven through their exports as the viewer
// drives them (the about window reads their versions): archive checks, the listing with Japanese names in
// the system code page, the viewer's extraction and document command lines,
// and encrypted members.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "dll_fixture.h"

namespace dlltest {
namespace {

constexpr DWORD kErrorMessageOff = 0x00800000;
constexpr int kPasswordFile = 0x800A, kNotArcFile = 0x8019;

std::string testdataPath(const std::string& relative) {
    std::string p = std::string("Z:") + QUIBEX_TESTDATA + "/" + relative;
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
}

// The viewer's line: ZIP's switches, the quoted archive and folder, then the targets.
std::string viewerLine(const std::string& archive, const std::string& folder, const std::string& targets = "") {
    std::string line = "-x -j -o --i ";
    for (const std::string* part : {&archive, &folder}) {
        line += '"';
        line += *part;
        line += "\" ";
    }
    line += targets;
    return line;
}

std::string ansi(const std::string& utf8) { return toAnsi(toWide(utf8)); }
std::string fromAnsi(const char* s) {
    int n = MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n > 0 ? n - 1 : 0), L'\0');
    if (n > 1) MultiByteToWideChar(CP_ACP, 0, s, -1, w.data(), n);
    return toUtf8(w);
}

struct Listed {
    std::string name, attribute, mode;
    DWORD size;
    WORD date;
};

std::vector<Listed> listAll(ArchiverDll& dll, const std::string& archiveUtf8, const char* patterns = "") {
    std::vector<Listed> out;
    HARC h = dll.openArchive(nullptr, ansi(archiveUtf8).c_str(), kErrorMessageOff);
    EXPECT_NE(h, nullptr) << archiveUtf8;
    if (!h) return out;
    IndividualInfo info;
    for (int r = dll.findFirst(h, patterns, &info); r == 0 && out.size() < 100; r = dll.findNext(h, &info))
        out.push_back({fromAnsi(info.szFileName), info.szAttribute, info.szMode, info.dwOriginalSize, info.wDate});
    EXPECT_EQ(dll.closeArchive(h), 0);
    EXPECT_NE(dll.closeArchive(h), 0);  // a closed handle is no handle
    return out;
}

TEST(DllSevenZipRar, ChecksAcceptTheirOwnAndRefuseOtherFormats) {
    ArchiverDll& sz = library("7z");
    ArchiverDll& rar = library("rar");
    ASSERT_NE(sz.module, nullptr);
    ASSERT_NE(rar.module, nullptr);
    const struct {
        ArchiverDll* dll;
        std::string file;
        bool accepted;
    } cases[] = {
        {&sz, archivePath("sample.7z"), true},
        {&sz, testdataPath("7z/7zip_sfx_pe.exe"), true},
        {&sz, testdataPath("rar/rar5_stored.rar"), false},
        {&sz, testdataPath("7z/7zip_malformed.7z"), false},
        {&rar, testdataPath("rar/rar5_stored.rar"), true},
        {&rar, testdataPath("rar/rar_sfx.exe"), true},
        {&rar, archivePath("sample.7z"), false},
        {&rar, archivePath("stamp"), false},
    };
    for (const auto& c : cases) {
        for (int mode : {0, 1}) {
            EXPECT_EQ(c.dll->checkArchive(ansi(c.file).c_str(), mode) != FALSE, c.accepted)
                << c.dll->prefix << " " << c.file << " mode " << mode;
        }
    }
    std::string report;
    EXPECT_EQ(sz.run(viewerLine(testdataPath("rar/rar5_stored.rar"), "C:\\x\\"), &report), kNotArcFile);
}

TEST(DllSevenZipRar, JapaneseNamesListedInTheSystemCodePage) {
    auto listed = listAll(library("7z"), archivePath("japanese.7z"));
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].name, "日本語\\読んでね.txt");
    EXPECT_EQ(listed[0].size, std::strlen("日本語のテキストです。\r\n"));
    EXPECT_EQ(listed[0].date, ((2001 - 1980) << 9) | (2 << 5) | 3);
    EXPECT_EQ(listed[1].name, "説明書.txt");
    EXPECT_EQ(listed[1].mode, "7z");

    auto rarListed = listAll(library("rar"), testdataPath("rar/rar_unicode.rar"), "*.txt");
    std::vector<std::string> names;
    for (const Listed& l : rarListed) names.push_back(l.name);
    EXPECT_NE(std::find(names.begin(), names.end(), "表だよ\\漢字長いファイル名long-filename-in-漢字.txt"), names.end());
}

TEST(DllSevenZipRar, ViewerCommandLinesExtractFlat) {
    ArchiverDll& sz = library("7z");
    TempFolder out;
    std::string report;
    ASSERT_EQ(sz.run(viewerLine(archivePath("japanese.7z"), out.path(), "*.txt"), &report), 0) << report;
    auto files = out.files();
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files["読んでね.txt"], "日本語のテキストです。\r\n");
    EXPECT_EQ(files["説明書.txt"], "説明書\r\n");

    // The document line names one member by its stored path.
    TempFolder doc;
    ASSERT_EQ(sz.run(viewerLine(archivePath("sample.7z"), doc.path(), "\"doc\\sub\\guide.chm\""), &report), 0)
        << report;
    auto one = doc.files();
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one["guide.chm"], "compiled help stand-in\r\n");
}

// Encrypted members: PASSWORD_FILE, nothing written for them, the rest read.
TEST(DllSevenZipRar, EncryptedMembersFailAloneWithoutADialog) {
    const struct {
        const char* lib;
        const char* archive;
        std::vector<std::string> plain;
    } cases[] = {
        {"7z", "7z/7zip_encryption_partially.7z", {"bar_unencrypted.txt"}},
        {"rar", "rar/rar4_encrypted.rar", {"a.txt", "c.txt"}},
        {"rar", "rar/rar5_encrypted.rar", {"a.txt", "c.txt"}},
    };
    for (const auto& c : cases) {
        TempFolder out;
        std::string report;
        int r = library(c.lib).run(viewerLine(testdataPath(c.archive), out.path()), &report);
        EXPECT_EQ(r, kPasswordFile) << c.archive << ": " << report;
        auto files = out.files();
        EXPECT_EQ(files.size(), c.plain.size()) << c.archive;
        for (const auto& name : c.plain) EXPECT_EQ(files.count(name), 1u) << c.archive << " " << name;
    }
}

}  // namespace
}  // namespace dlltest
