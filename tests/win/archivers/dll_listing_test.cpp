// Versions, flags, CheckArchive and the OpenArchive/FindFirst/FindNext listing.
#include <gtest/gtest.h>

#include <vector>

#include "dll_fixture.h"
#include "zip_builder.h"

namespace dlltest {
namespace {

constexpr DWORD kErrorMessageOff = 0x00800000, kCheckAllPath = 0x00000100, kCheckFilenameOnly = 0x00000200;

struct Listed {
    std::string name, attribute, mode;
    DWORD size, packed, crc;
    WORD ratio, date, time;
};

std::vector<Listed> listAll(ArchiverDll& dll, HARC h, const char* patterns) {
    std::vector<Listed> out;
    IndividualInfo info;
    for (int r = dll.findFirst(h, patterns, &info); r == 0; r = dll.findNext(h, &info)) {
        EXPECT_LT(memchr(info.szFileName, 0, sizeof info.szFileName), info.szFileName + sizeof info.szFileName);
        out.push_back({info.szFileName, info.szAttribute, info.szMode, info.dwOriginalSize, info.dwCompressedSize,
                       info.dwCRC, info.wRatio, info.wDate, info.wTime});
        if (out.size() > 100) break;
    }
    return out;
}

TEST(DllVersion, VersionsAndCursorFlag) {
    EXPECT_EQ(library("lzh").getVersion(), 330);
    EXPECT_EQ(library("lzh").getSubVersion(), 0);
    EXPECT_EQ(library("zip").getVersion(), 600);
    EXPECT_EQ(library("cab").getVersion(), 100);
    for (const char* f : {"lzh", "zip", "cab"}) {
        ArchiverDll& d = library(f);
        EXPECT_FALSE(d.getRunning()) << f;
        EXPECT_TRUE(d.setCursorMode(FALSE)) << f;
        EXPECT_FALSE(d.getCursorMode()) << f;
        EXPECT_TRUE(d.setCursorMode(TRUE)) << f;
        EXPECT_TRUE(d.getCursorMode()) << f;
    }
}

TEST(DllCheckArchive, AcceptsOnlyItsOwnFormatByContent) {
    const char* formats[] = {"lzh", "zip", "cab"};
    for (const char* lib : formats) {
        ArchiverDll& d = library(lib);
        ASSERT_NE(d.checkArchive, nullptr) << lib;
        EXPECT_FALSE(d.checkArchive(toAnsi(toWide(archivePath("plain.txt"))).c_str(), 0)) << lib;
        EXPECT_FALSE(d.checkArchive(toAnsi(toWide(archivePath("missing.bin"))).c_str(), 0)) << lib;
        EXPECT_FALSE(d.checkArchive(nullptr, 0)) << lib;
        for (const char* content : formats) {
            bool own = std::string(lib) == content;
            for (int mode : {0, 1, 2}) {
                std::string arc = toAnsi(toWide(archivePath(std::string("sample.") + content)));
                std::string sfx = toAnsi(toWide(archivePath(std::string("sfx_") + content + ".exe")));
                EXPECT_EQ(d.checkArchive(arc.c_str(), mode) != FALSE, own) << lib << " on " << content << " mode " << mode;
                EXPECT_EQ(d.checkArchive(sfx.c_str(), mode) != FALSE, own) << lib << " on sfx " << content << " mode " << mode;
            }
        }
    }
}

TEST(DllCheckArchive, OrdinaryProgramsAreNotArchives) {
    wchar_t self[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    std::wstring folder(self);
    folder.resize(folder.find_last_of(L'\\') + 1);
    // This test program and the libraries themselves: large, full of stray bytes.
    for (const std::wstring& file : {std::wstring(self), folder + L"UNLHA32.DLL", folder + L"CAB32.DLL"}) {
        std::string ansi = toAnsi(file);
        for (const char* lib : {"lzh", "zip", "cab"})
            EXPECT_FALSE(library(lib).checkArchive(ansi.c_str(), 0)) << lib << " on " << toUtf8(file);
    }
}

class DllListing : public ::testing::TestWithParam<std::string> {
protected:
    ArchiverDll& dll() { return library(GetParam()); }
    HARC open(DWORD mode = kErrorMessageOff) {
        return dll().openArchive(nullptr, toAnsi(toWide(archivePath("sample." + GetParam()))).c_str(), mode);
    }
    char sep() const { return GetParam() == "zip" ? '/' : '\\'; }
};

TEST_P(DllListing, EntriesCarryStoredPathsSizesAndTimes) {
    ASSERT_NE(dll().openArchive, nullptr);
    HARC h = open();
    ASSERT_NE(h, nullptr);
    std::vector<Listed> all = listAll(dll(), h, "");
    ASSERT_EQ(all.size(), 6u);
    std::map<std::string, Listed> byName;
    for (auto& e : all) {
        std::string n = e.name;
        for (char& c : n) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        byName[n] = e;
    }
    const char* files[] = {"readme.txt", "NOTES.DOC", "info.me", "image.bin", "doc/a.txt", "doc/sub/guide.chm"};
    for (const char* f : files) {
        std::string listedName = f;
        for (char& c : listedName) c = c == '/' ? sep() : static_cast<char>(tolower(static_cast<unsigned char>(c)));
        ASSERT_TRUE(byName.count(listedName)) << listedName;
        const Listed& e = byName[listedName];
        auto data = readFile(archivePath(std::string("src/") + f));
        std::string bytes(data.begin(), data.end());
        EXPECT_EQ(e.size, data.size()) << f;
        EXPECT_EQ(e.date, ((2001 - 1980) << 9) | (2 << 5) | 3) << f;
        EXPECT_EQ(e.time, (4 << 11) | (5 << 5) | 3) << f;
        EXPECT_EQ(e.attribute.find('D'), std::string::npos) << f;
        EXPECT_FALSE(e.mode.empty()) << f;
        if (GetParam() == "zip") {
            EXPECT_EQ(e.crc, crc32Of(bytes)) << f;
        }
        if (GetParam() != "cab") {
            EXPECT_EQ(e.ratio, e.packed * 1000 / e.size) << f;
        }
    }
    const Listed& readme = byName["readme.txt"];
    EXPECT_LT(readme.packed, readme.size / 4);  // compressed, not stored
    EXPECT_EQ(readme.mode, GetParam() == "lzh" ? "-lh5-" : GetParam() == "zip" ? "deflate" : "mszip");
    // Past the end: -1, and again -1.
    IndividualInfo info;
    EXPECT_EQ(dll().findNext(h, &info), -1);
    EXPECT_EQ(dll().findNext(h, &info), -1);
    EXPECT_EQ(dll().closeArchive(h), 0);
}

TEST_P(DllListing, PatternsAndModes) {
    HARC h = open();
    ASSERT_NE(h, nullptr);
    auto names = [&](const char* p) {
        std::string out;
        for (auto& e : listAll(dll(), h, p)) out += (out.empty() ? "" : " ") + e.name;
        for (char& c : out) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        return out;
    };
    std::string sub = std::string("doc") + sep() + "sub" + sep() + "guide.chm";
    EXPECT_EQ(names("*.txt"), std::string("readme.txt doc") + sep() + "a.txt");
    EXPECT_EQ(names("*.DOC *.ME"), "notes.doc info.me");
    EXPECT_EQ(names("doc\\sub\\guide.chm"), sub);
    EXPECT_EQ(names("nothing.here"), "");
    EXPECT_EQ(dll().closeArchive(h), 0);

    HARC whole = open(kErrorMessageOff | kCheckAllPath);
    ASSERT_NE(whole, nullptr);
    IndividualInfo info;
    EXPECT_EQ(dll().findFirst(whole, "guide.chm", &info), -1);
    EXPECT_EQ(dll().findFirst(whole, "doc/sub/guide.chm", &info), 0);
    EXPECT_EQ(dll().closeArchive(whole), 0);

    HARC nameOnly = open(kErrorMessageOff | kCheckFilenameOnly);
    ASSERT_NE(nameOnly, nullptr);
    ASSERT_EQ(dll().findFirst(nameOnly, "GUIDE.CHM", &info), 0);
    EXPECT_EQ(std::string(info.szFileName), sub);
    EXPECT_EQ(dll().closeArchive(nameOnly), 0);
}

TEST_P(DllListing, HandleErrors) {
    IndividualInfo info;
    HARC h = open();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(dll().findNext(h, &info), 0x8022);  // before FindFirst
    EXPECT_EQ(dll().closeArchive(h), 0);
    EXPECT_EQ(dll().findFirst(h, "", &info), 0x8021);  // closed
    EXPECT_EQ(dll().findNext(h, &info), 0x8021);
    EXPECT_EQ(dll().closeArchive(h), 0x8021);
    EXPECT_EQ(dll().findFirst(reinterpret_cast<HARC>(0x1234), "", &info), 0x8021);
    EXPECT_EQ(dll().openArchive(nullptr, toAnsi(toWide(archivePath("plain.txt"))).c_str(), kErrorMessageOff), nullptr);
    EXPECT_EQ(dll().openArchive(nullptr, "Z:\\no\\such\\file", kErrorMessageOff), nullptr);
    // Two handles on one archive walk independently.
    HARC a = open(), b = open();
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    EXPECT_EQ(dll().findFirst(a, "", &info), 0);
    EXPECT_EQ(dll().findFirst(b, "", &info), 0);
    EXPECT_EQ(dll().findNext(a, &info), 0);
    std::string secondOfA = info.szFileName;
    EXPECT_EQ(dll().findNext(b, &info), 0);
    EXPECT_EQ(secondOfA, info.szFileName);
    EXPECT_EQ(dll().closeArchive(a), 0);
    EXPECT_EQ(dll().closeArchive(b), 0);
}

INSTANTIATE_TEST_SUITE_P(Dll, DllListing, ::testing::Values("lzh", "zip", "cab"),
                         [](const ::testing::TestParamInfo<std::string>& p) { return p.param; });

}  // namespace
}  // namespace dlltest
