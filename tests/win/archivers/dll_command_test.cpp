// The command routine with the command lines the viewer sends.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "dll_fixture.h"
#include "zip_builder.h"

namespace dlltest {
namespace {

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

// Extracted files keyed by lower-case name (jlha stores some names in lower case).
std::map<std::string, std::string> lowered(const std::map<std::string, std::string>& files) {
    std::map<std::string, std::string> out;
    for (auto& [k, v] : files) out[lower(k)] = v;
    return out;
}

std::string source(const std::string& relative) {
    auto d = readFile(archivePath("src/" + relative));
    return std::string(d.begin(), d.end());
}

// How the viewer words its command for each library.
std::string commandLine(const std::string& format, const std::string& arc, const std::string& dir,
                        const std::string& patterns, bool progressOff, bool wholePath = false) {
    if (format == "lzh")
        return "E \"" + arc + "\" -y -c -a1" + (progressOff ? " -n" : "") + (wholePath ? " -p" : "") + " \"" + dir +
               "\" " + patterns;
    if (format == "zip") return std::string("-x -j -o") + (progressOff ? " --i" : "") + " \"" + arc + "\" \"" + dir + "\" " + patterns;
    return std::string("-x -j -o") + (progressOff ? " -i" : "") + " \"" + arc + "\" \"" + dir + "\" " + patterns;
}

class DllCommand : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        ASSERT_NE(library(GetParam()).module, nullptr) << "library not loadable";
        ASSERT_NE(library(GetParam()).closeArchive, nullptr) << "an export is missing";
    }
    ArchiverDll& dll() { return library(GetParam()); }
    std::string sample() { return archivePath("sample." + GetParam()); }
};

TEST_P(DllCommand, AllTextPatternsExtractTextMembersFlat) {
    for (bool progressOff : {true, false}) {
        TempFolder out;
        std::string report;
        ASSERT_EQ(dll().run(commandLine(GetParam(), sample(), out.path(), "*.txt *.DOC *.ME", progressOff), &report), 0)
            << report;
        const std::map<std::string, std::string> expected{{"readme.txt", source("readme.txt")},
                                                          {"notes.doc", source("NOTES.DOC")},
                                                          {"info.me", source("info.me")},
                                                          {"a.txt", source("doc/a.txt")}};
        EXPECT_EQ(lowered(out.files()), expected) << "progress off: " << progressOff;
        EXPECT_GT(expected.at("readme.txt").size(), 10000u);
        // The progress window, if any was shown, is gone when the call returns.
        EXPECT_EQ(FindWindowW(L"QuibexArchiverProgress", nullptr), nullptr);
        EXPECT_FALSE(dll().getRunning());
    }
}

TEST_P(DllCommand, SingleNameAndDocumentForms) {
    {
        TempFolder out;
        ASSERT_EQ(dll().run(commandLine(GetParam(), sample(), out.path(), "readme.txt", true)), 0);
        EXPECT_EQ(lowered(out.files()), (std::map<std::string, std::string>{{"readme.txt", source("readme.txt")}}));
    }
    {
        TempFolder out;
        ASSERT_EQ(dll().run(commandLine(GetParam(), sample(), out.path(), "\"doc/sub/guide.chm\"", true, true)), 0);
        EXPECT_EQ(out.files(), (std::map<std::string, std::string>{{"guide.chm", source("doc/sub/guide.chm")}}));
    }
    {
        // A bare name with no root member of that name is found deeper, by every library.
        TempFolder out;
        ASSERT_EQ(dll().run(commandLine(GetParam(), sample(), out.path(), "guide.chm", true)), 0);
        EXPECT_EQ(out.files(), (std::map<std::string, std::string>{{"guide.chm", source("doc/sub/guide.chm")}}));
    }
    {
        // A pattern with a folder part is compared with the whole stored path.
        TempFolder out;
        ASSERT_EQ(dll().run(commandLine(GetParam(), sample(), out.path(), "sub\\guide.chm", true)), 0);
        EXPECT_TRUE(out.files().empty());
    }
}

TEST_P(DllCommand, BareNameFindsMemberInsideTheOnlyFolder) {
    TempFolder out;
    ASSERT_EQ(dll().run(commandLine(GetParam(), archivePath("nested." + GetParam()), out.path(), "readme.txt", true)), 0);
    EXPECT_EQ(out.files(), (std::map<std::string, std::string>{{"readme.txt", "nested readme\r\n"}}));
}

TEST_P(DllCommand, ExtractedFileCarriesTheMemberTime) {
    TempFolder out;
    ASSERT_EQ(dll().run(commandLine(GetParam(), sample(), out.path(), "readme.txt", true)), 0);
    HANDLE h = CreateFileW(toWide(out.path() + "readme.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILETIME written{}, local{};
    ASSERT_TRUE(GetFileTime(h, nullptr, nullptr, &written));
    CloseHandle(h);
    WORD date = 0, time = 0;
    ASSERT_TRUE(FileTimeToLocalFileTime(&written, &local));
    ASSERT_TRUE(FileTimeToDosDateTime(&local, &date, &time));
    EXPECT_EQ(date, ((2001 - 1980) << 9) | (2 << 5) | 3);
    EXPECT_EQ(time, (4 << 11) | (5 << 5) | 3);
}

TEST_P(DllCommand, FilesOfEarlierCommandsAreOverwritten) {
    TempFolder out;
    ASSERT_TRUE(writeFile(out.path() + "readme.txt", {'o', 'l', 'd'}));
    ASSERT_EQ(dll().run(commandLine(GetParam(), sample(), out.path(), "readme.txt", true)), 0);
    EXPECT_EQ(out.files().at("readme.txt"), source("readme.txt"));
    ASSERT_EQ(dll().run(commandLine(GetParam(), sample(), out.path(), "readme.txt", true)), 0);
    EXPECT_EQ(out.files().size(), 1u);
}

TEST_P(DllCommand, ErrorsAndRecovery) {
    TempFolder out;
    std::string missing = archivePath("no_such_archive." + GetParam());
    EXPECT_EQ(dll().run(commandLine(GetParam(), missing, out.path(), "*.txt", true)), 0x8029);
    EXPECT_EQ(dll().run(commandLine(GetParam(), archivePath("plain.txt"), out.path(), "*.txt", true)), 0x8019);
    EXPECT_EQ(dll().run(GetParam() == "lzh" ? "Q \"" + sample() + "\"" : "-l \"" + sample() + "\""), 0x801C);

    // Damage the readme's compressed data (it fills most of the archive's middle).
    auto bytes = readFile(sample());
    ASSERT_GT(bytes.size(), 600u);
    for (size_t i = 300; i < 340; ++i) bytes[i] ^= 0x5A;
    std::string bad = out.path() + "damaged." + GetParam();
    ASSERT_TRUE(writeFile(bad, bytes));
    TempFolder target;
    EXPECT_NE(dll().run(commandLine(GetParam(), bad, target.path(), "readme.txt", true)), 0);
    EXPECT_EQ(target.files().count("readme.txt"), 0u) << "a damaged member must leave no file";
    for (auto& [name, _] : target.files()) EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;

    // The library keeps working.
    EXPECT_FALSE(dll().getRunning());
    ASSERT_EQ(dll().run(commandLine(GetParam(), sample(), target.path(), "readme.txt", true)), 0);
    EXPECT_EQ(target.files().at("readme.txt"), source("readme.txt"));
}

TEST_P(DllCommand, ReportIsCutToTheBuffer) {
    TempFolder out;
    std::string cmd = toAnsi(toWide(commandLine(GetParam(), sample(), out.path(), "*.txt", true)));
    char buf[8];
    memset(buf, 'X', sizeof buf);
    ASSERT_EQ(dll().command(nullptr, cmd.c_str(), buf, 5), 0);
    EXPECT_EQ(strlen(buf), 4u);
    EXPECT_EQ(buf[5], 'X');
    EXPECT_EQ(dll().command(nullptr, cmd.c_str(), nullptr, 0), 0);
}

INSTANTIATE_TEST_SUITE_P(Dll, DllCommand, ::testing::Values("lzh", "zip", "cab"),
                         [](const ::testing::TestParamInfo<std::string>& p) { return p.param; });

TEST(DllRunning, SecondCommandDuringAnExtractionIsRefused) {
    ArchiverDll& zip = library("zip");
    ASSERT_NE(zip.command, nullptr);
    TempFolder work;
    // A large stored member keeps the first command busy long enough to be seen.
    std::string big(48u << 20, 'q');
    ASSERT_TRUE(writeFile(work.path() + "big.zip", buildStoredZip({{"big.txt", big, false}})));
    std::string cmd = "-x -j -o --i \"" + work.path() + "big.zip\" \"" + work.path() + "out\\\"";
    bool observed = false;
    for (int attempt = 0; attempt < 5 && !observed; ++attempt) {
        std::atomic<bool> done{false};
        std::atomic<int> first{-1};
        std::thread worker([&] {
            first = zip.run(cmd);
            done = true;
        });
        while (!done) {
            if (zip.getRunning()) {
                int second = zip.run(cmd);
                // The first command may have ended between the two calls.
                if (!done || second == 0x801F) {
                    EXPECT_EQ(second, 0x801F);
                    observed = true;
                }
                break;
            }
            SwitchToThread();
        }
        worker.join();
        EXPECT_EQ(first.load(), 0);
    }
    if (!observed) GTEST_SKIP() << "the extraction never overlapped the polling thread";
    EXPECT_FALSE(zip.getRunning());
}

// Runs a long command on this thread, which owns `owner` and pumps nothing
// meanwhile (as a caller blocked in the library does), while another thread
// watches for the progress window.
struct ProgressWatch {
    bool seen = false;
    std::wstring caption;
    HWND owner = nullptr;
};

ProgressWatch watchCommand(ArchiverDll& dll, const std::string& cmd, HWND owner, int* result) {
    ProgressWatch w;
    std::atomic<bool> done{false};
    std::thread watcher([&] {
        while (!done) {
            HWND found = FindWindowW(L"QuibexArchiverProgress", nullptr);
            if (found && w.caption.empty()) {
                // The first full look; later ones may catch the window being torn down.
                wchar_t text[64] = {};
                GetWindowTextW(found, text, static_cast<int>(std::size(text)));
                w.seen = true;
                w.caption = text;
                w.owner = GetWindow(found, GW_OWNER);
            }
            SwitchToThread();
        }
    });
    char out[256];
    *result = dll.command(owner, toAnsi(toWide(cmd)).c_str(), out, sizeof out);
    done = true;
    watcher.join();
    return w;
}

TEST(DllProgress, WindowOnlyWithoutTheSwitch) {
    ArchiverDll& zip = library("zip");
    ASSERT_NE(zip.command, nullptr);
    TempFolder work;
    // Many small members: creating files is what makes an extraction take long.
    std::vector<ZipEntry> many;
    for (int i = 0; i < 400; ++i) {
        std::string name = std::to_string(i);
        name += ".txt";
        many.push_back({name, std::string(2048, 'p'), false});
    }
    ASSERT_TRUE(writeFile(work.path() + "big.zip", buildStoredZip(many)));
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    const std::string tail = " \"" + work.path() + "big.zip\" \"" + work.path() + "out\\\"";
    int result = -1;

    // With "--i" no window may appear at any moment.
    ProgressWatch off = watchCommand(zip, "-x -j -o --i" + tail, owner, &result);
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(off.seen);

    ProgressWatch on = watchCommand(zip, "-x -j -o" + tail, owner, &result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(FindWindowW(L"QuibexArchiverProgress", nullptr), nullptr);
    DestroyWindow(owner);
    if (!on.seen) GTEST_SKIP() << "the extraction ended before the window's delay";
    EXPECT_EQ(on.caption, L"\u5c55\u958b\u4e2d...");  // 展開中...
    EXPECT_EQ(on.owner, owner);
}

}  // namespace
}  // namespace dlltest
