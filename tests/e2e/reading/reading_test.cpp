// Reading archives end to end: the right members land in the work folder.
#include <gtest/gtest.h>

#include "reading_support.h"

namespace {

using namespace std::chrono_literals;

}  // namespace

std::wstring ReadingArchive(const std::wstring& name) {
    return e2e::hostToWinePath(QUIBEX_READING_DATA) + L"\\" + name;
}

std::string IniWith(std::initializer_list<const char*> changes) {
    std::string ini = kDefaultIni;
    for (const char* change : changes) {
        std::string c = change;
        std::string section = c.substr(0, c.find('.'));
        std::string key = c.substr(c.find('.') + 1, c.find('=') - c.find('.'));  // "Key="
        size_t sectionAt = ini.find("[" + section + "]");
        size_t at = ini.find("\n" + key, sectionAt);
        if (at != std::string::npos) {
            size_t end = ini.find('\n', at + 1);
            ini.replace(at + 1, end - at - 1, c.substr(c.find('.') + 1));
        } else {
            size_t end = ini.find('\n', sectionAt);
            ini.insert(end + 1, c.substr(c.find('.') + 1) + "\n");
        }
    }
    return ini;
}

std::set<std::wstring> FilesIn(const std::wstring& folder) {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(fd.cFileName);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return names;
}

HWND WaitViewer(QuibexSession& q) {
    e2e::WindowQuery query;
    query.captionPart = L" - Quibex";
    query.processId = q.pid();
    return e2e::waitForWindow(query);
}

std::vector<std::wstring> RecorderLines(QuibexSession& q) { return q.recorderLines(); }

namespace {

struct ArchiveCase {
    const wchar_t* archive;
    std::initializer_list<const char*> ini;
    std::set<std::wstring> extracted;
};

TEST(E2eReading, EachKindExtractsExactlyTheTextMembers) {
    const std::set<std::wstring> texts = {L"readme.txt", L"説明.txt"};
    const std::set<std::wstring> withDoc = {L"readme.txt", L"説明.txt", L"notes.doc"};
    const std::set<std::wstring> readmeOnly = {L"readme.txt"};
    const ArchiveCase cases[] = {
        {L"texts.lzh", {}, texts},
        {L"texts.zip", {}, texts},
        {L"texts.cab", {}, texts},
        {L"sfx_texts_lzh.exe", {}, texts},
        {L"sfx_texts_zip.exe", {}, texts},
        {L"sfx_texts_cab.exe", {}, texts},
        {L"texts.zip", {"Option.TxtType=DOC"}, withDoc},
        {L"texts.lzh", {"Option.AllText=0"}, readmeOnly},
        {L"texts.cab", {"Option.Progress=1", "Option.TxtType=doc"}, withDoc},
    };
    for (const ArchiveCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.archive)));
        QuibexSession q(IniWith(c.ini).c_str());
        ASSERT_TRUE(q.start(L"\"" + ReadingArchive(c.archive) + L"\""));
        HWND viewer = WaitViewer(q);
        ASSERT_TRUE(viewer);
        if (c.ini.size() == 0) q.screenshot(std::wstring(L"reading-viewer-") + c.archive);
        std::wstring work = q.folder().file(L"temp");
        EXPECT_EQ(FilesIn(work), c.extracted);
        DWORD attributes = GetFileAttributesW(work.c_str());
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN));
        e2e::closeWindow(viewer);
        EXPECT_TRUE(q.process().waitForExit().has_value()) << e2e::describeTopLevel(q.pid());
        EXPECT_TRUE(FilesIn(work).empty()) << "closing the viewer empties the work folder";
    }
}

TEST(E2eReading, ProgramBothLibrariesAcceptIsReadAsLha) {
    QuibexSession q;
    ASSERT_TRUE(q.start(ReadingArchive(L"sfx_both.exe")));
    HWND viewer = WaitViewer(q);
    ASSERT_TRUE(viewer);
    // The LZH part holds readme.txt and 説明.txt; the ZIP part a.txt to d.txt.
    EXPECT_EQ(FilesIn(q.folder().file(L"temp")), (std::set<std::wstring>{L"readme.txt", L"説明.txt"}));
    e2e::closeWindow(viewer);
    EXPECT_TRUE(q.process().waitForExit().has_value());
}

TEST(E2eReading, StartUpEmptiesTheWorkFolderOfLockedDownLeftovers) {
    QuibexSession q;
    std::wstring work = q.folder().file(L"temp");
    ASSERT_TRUE(CreateDirectoryW(work.c_str(), nullptr));
    std::wstring stale = work + L"\\stale.txt";
    e2e::writeFileBytes(stale, "left by an earlier run");
    SetFileAttributesW(stale.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    ASSERT_TRUE(q.start(ReadingArchive(L"four.zip")));
    HWND viewer = WaitViewer(q);
    ASSERT_TRUE(viewer);
    EXPECT_EQ(FilesIn(work), (std::set<std::wstring>{L"a.txt", L"b.txt", L"c.txt", L"d.txt"}));
    e2e::closeWindow(viewer);
    EXPECT_TRUE(q.process().waitForExit().has_value());
}

TEST(E2eReading, MissingLibraryIsNamed) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"texts.lzh", L"UNLHA32.DLL がみつかりません。"},
        {L"texts.zip", L"UNZIP32.DLL がみつかりません。"},
        {L"texts.cab", L"CAB32.DLL がみつかりません。"},
    };
    for (auto& [archive, message] : cases) {
        e2e::ProgramFolder folder;
        folder.copyFrom({L"Quibex.exe"});
        folder.writeIni(kDefaultIni);
        e2e::Process p;
        ASSERT_TRUE(p.start(folder.file(L"Quibex.exe"), L"\"" + ReadingArchive(archive) + L"\"", folder.path()));
        HWND box = e2e::waitForMessageBox(p.id());
        ASSERT_TRUE(box);
        e2e::MessageBoxInfo m = e2e::readMessageBox(box);
        EXPECT_EQ(m.text, message);
        EXPECT_EQ(m.icon, e2e::MessageIcon::Error);
        e2e::answerMessageBox(box, L"OK");
        EXPECT_TRUE(p.waitForExit().has_value());
    }
}

TEST(E2eReading, TextFileAndBrokenArchiveAreReported) {
    {
        QuibexSession q;
        std::wstring txt = q.folder().file(L"note.txt");
        e2e::writeFileBytes(txt, "plain text");
        ASSERT_TRUE(q.start(txt));
        HWND box = nullptr;
        e2e::MessageBoxInfo m = q.waitMessage(&box);
        ASSERT_TRUE(box);
        q.screenshot(L"reading-not-an-archive");
        EXPECT_EQ(m.text, L"このファイルは書庫ではないか、未知の書庫かもしれません。\r\n\r\n"
                          L"書庫である事が確実なら対応のDLLをインストールしてください。");
        e2e::answerMessageBox(box, L"OK");
        EXPECT_TRUE(q.process().waitForExit().has_value());
    }
    {
        QuibexSession q;
        ASSERT_TRUE(q.start(ReadingArchive(L"broken.lzh")));
        HWND box = nullptr;
        e2e::MessageBoxInfo m = q.waitMessage(&box);
        ASSERT_TRUE(box);
        q.screenshot(L"reading-library-error");
        const std::wstring prefix = L"UNLHA32.DLL からエラー(", suffix = L")が報告されました。";
        ASSERT_GT(m.text.size(), prefix.size() + suffix.size());
        EXPECT_EQ(m.text.substr(0, prefix.size()), prefix);
        EXPECT_EQ(m.text.substr(m.text.size() - suffix.size()), suffix);
        std::wstring hex = m.text.substr(prefix.size(), m.text.size() - prefix.size() - suffix.size());
        EXPECT_EQ(hex.find_first_not_of(L"0123456789ABCDEF"), std::wstring::npos) << "upper-case hex: " << e2e::toUtf8(hex);
        EXPECT_EQ(m.icon, e2e::MessageIcon::Error);
        e2e::answerMessageBox(box, L"OK");
        EXPECT_TRUE(q.process().waitForExit().has_value());
        EXPECT_TRUE(FilesIn(q.folder().file(L"temp")).empty()) << "no partial file is left";
    }
}

TEST(E2eReading, SideBySideInstancesKeepEachOthersFiles) {
    QuibexSession first(IniWith({"Option.PrevInstance=1"}).c_str());
    ASSERT_TRUE(first.start(ReadingArchive(L"texts.zip")));
    HWND firstViewer = WaitViewer(first);
    ASSERT_TRUE(firstViewer);
    std::wstring firstWork = first.folder().file(L"temp\\qx-" + std::to_wstring(first.pid()));
    EXPECT_EQ(FilesIn(firstWork), (std::set<std::wstring>{L"readme.txt", L"説明.txt"}));

    e2e::Process second;
    ASSERT_TRUE(second.start(first.folder().file(L"Quibex.exe"), ReadingArchive(L"four.zip"), first.folder().path()));
    e2e::WindowQuery query;
    query.captionPart = L"four.zip - Quibex";
    query.processId = second.id();
    HWND secondViewer = e2e::waitForWindow(query);
    ASSERT_TRUE(secondViewer);
    EXPECT_EQ(FilesIn(firstWork).size(), 2u) << "the second start keeps the first instance's texts";
    e2e::closeWindow(secondViewer);
    EXPECT_TRUE(second.waitForExit().has_value());
    EXPECT_EQ(FilesIn(firstWork).size(), 2u) << "the second close keeps them too";
    e2e::closeWindow(firstViewer);
    EXPECT_TRUE(first.process().waitForExit().has_value());
}

TEST(E2eReading, ArchiveOutsideTheCodePageOpensByItsShortName) {
    QuibexSession q;
    std::wstring folder = q.folder().file(L"한글 폴더");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    std::wstring archive = folder + L"\\한글 아카이브.zip";
    ASSERT_TRUE(CopyFileW(ReadingArchive(L"texts.zip").c_str(), archive.c_str(), FALSE));
    ASSERT_TRUE(q.start(L"\"" + archive + L"\""));
    HWND viewer = WaitViewer(q);
    ASSERT_TRUE(viewer) << "no viewer for an archive named in Korean";
    EXPECT_EQ(FilesIn(q.folder().file(L"temp")), (std::set<std::wstring>{L"readme.txt", L"説明.txt"}));
    e2e::closeWindow(viewer);
    EXPECT_TRUE(q.process().waitForExit().has_value());
}

}  // namespace
