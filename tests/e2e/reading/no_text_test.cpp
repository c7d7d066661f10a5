// What happens when an archive holds no matching text, and when texts go to
// an editor instead of the viewer.
#include <gtest/gtest.h>

#include "reading_support.h"

namespace {

using namespace std::chrono_literals;

const std::wstring kLhaNoText = L"このLHA形式書庫には指定された条件に合うドキュメントがみつかりません。\r\n";
const std::wstring kZipNoText = L"このZIP形式書庫には指定された条件に合うドキュメントがみつかりません。\r\n";

struct NoTextCase {
    const wchar_t* archive;
    const char* noText;
    std::wstring message;  // empty: no message box
    e2e::MessageIcon icon;
};

TEST(E2eNoText, ReactionFollowsTheSetting) {
    const NoTextCase cases[] = {
        {L"binary.lzh", "Option.NoText=0", kLhaNoText + L"書庫ファイルを開きますか？\r\n\r\n", e2e::MessageIcon::Question},
        {L"binary.zip", "Option.NoText=2", kZipNoText + L"アーカイバツールで確認してください。",
         e2e::MessageIcon::Information},
        {L"sfx_binary_zip.exe", "Option.NoText=0",
         kZipNoText + L"書庫ファイルを開きますか？\r\n\r\n"
                      L"この操作には、オプションでアーカイバツールが登録されている必要があります。",
         e2e::MessageIcon::Question},
        {L"sfx_binary_lzh.exe", "Option.NoText=2", kLhaNoText + L"アーカイバツールで確認してください。",
         e2e::MessageIcon::Information},
    };
    for (const NoTextCase& c : cases) {
        SCOPED_TRACE(e2e::toUtf8(c.archive) + " " + c.noText);
        QuibexSession q(IniWith({c.noText}).c_str());
        ASSERT_TRUE(q.start(ReadingArchive(c.archive)));
        HWND box = nullptr;
        e2e::MessageBoxInfo m = q.waitMessage(&box);
        ASSERT_TRUE(box);
        EXPECT_EQ(m.text, c.message);
        EXPECT_EQ(m.icon, c.icon);
        EXPECT_EQ(m.caption, L"Quibex");
        e2e::answerMessageBox(box, m.buttons.size() == 2 ? L"いいえ" : L"OK");
        EXPECT_TRUE(q.process().waitForExit().has_value());
    }
}

TEST(E2eNoText, OpenTheArchiveGoesToTheArchiverTool) {
    // "NoText" 1 opens at once; "NoText" 0 asks first. Both hand the archive to the tool.
    for (const char* noText : {"Option.NoText=1", "Option.NoText=0"}) {
        SCOPED_TRACE(noText);
        QuibexSession q(nullptr);
        q.folder().copyFrom({L"e2e_recorder.exe"});
        std::string tool = "Option.ArcAplPath=" + e2e::toUtf8(q.folder().file(L"e2e_recorder.exe"));
        q.folder().writeIni(IniWith({noText, tool.c_str()}));
        std::wstring archive = ReadingArchive(L"binary.cab");
        ASSERT_TRUE(q.start(archive));
        if (std::string(noText).back() == '0') {
            HWND box = nullptr;
            q.waitMessage(&box);
            ASSERT_TRUE(box);
            e2e::answerMessageBox(box, L"はい");
        }
        EXPECT_TRUE(q.process().waitForExit().has_value());
        ASSERT_TRUE(e2e::waitUntil([&] { return !RecorderLines(q).empty(); }, 10s));
        EXPECT_EQ(RecorderLines(q).front(), L"\"" + q.folder().file(L"e2e_recorder.exe") + L"\" \"" + archive + L"\"");
    }
}

TEST(E2eNoText, BeepSettingEndsQuietly) {
    QuibexSession q(IniWith({"Option.NoText=3"}).c_str());
    ASSERT_TRUE(q.start(ReadingArchive(L"binary.lzh")));
    EXPECT_EQ(q.process().waitForExit(), std::optional<DWORD>(0));
    EXPECT_TRUE(e2e::topLevelWindows(q.pid()).empty());
}

TEST(E2eNoText, DocumentsAloneOpenTheViewerOnlyInsideIt) {
    {
        QuibexSession q;
        ASSERT_TRUE(q.start(ReadingArchive(L"onlyhtm.zip")));
        HWND viewer = WaitViewer(q);
        ASSERT_TRUE(viewer) << "an archive with a document and no text still opens the viewer";
        e2e::closeWindow(viewer);
        EXPECT_TRUE(q.process().waitForExit().has_value());
    }
    {
        QuibexSession q(IniWith({"Viewer.InsideViewer=0", "Option.NoText=2"}).c_str());
        ASSERT_TRUE(q.start(ReadingArchive(L"onlyhtm.zip")));
        HWND box = nullptr;
        e2e::MessageBoxInfo m = q.waitMessage(&box);
        ASSERT_TRUE(box) << "documents are not listed outside the viewer";
        EXPECT_EQ(m.text, kZipNoText + L"アーカイバツールで確認してください。");
        e2e::answerMessageBox(box, L"OK");
        EXPECT_TRUE(q.process().waitForExit().has_value());
    }
}

TEST(E2eNoText, OutsideTheViewerTheFirstOpenMaxTextsGoToTheEditor) {
    QuibexSession q(nullptr);
    q.folder().copyFrom({L"e2e_recorder.exe"});
    std::string editor = "Option.TxtEdtPath=" + e2e::toUtf8(q.folder().file(L"e2e_recorder.exe"));
    q.folder().writeIni(IniWith({"Viewer.InsideViewer=0", "Option.OpenMax=2", editor.c_str()}));
    ASSERT_TRUE(q.start(ReadingArchive(L"four.zip")));
    EXPECT_TRUE(q.process().waitForExit().has_value());
    ASSERT_TRUE(e2e::waitUntil([&] { return RecorderLines(q).size() >= 2; }, 10s));

    // The texts stay in the work folder; their enumeration order decides which two went out.
    std::wstring work = q.folder().file(L"temp");
    std::vector<std::wstring> order;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((work + L"\\*.*").c_str(), &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) order.push_back(fd.cFileName);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    ASSERT_EQ(order.size(), 4u);
    std::vector<std::wstring> lines = RecorderLines(q);
    ASSERT_EQ(lines.size(), 2u);
    std::wstring exe = L"\"" + q.folder().file(L"e2e_recorder.exe") + L"\" \"";
    // Both editors may start at once; compare as a set.
    std::set<std::wstring> got(lines.begin(), lines.end());
    std::set<std::wstring> expected = {exe + work + L"\\" + order[0] + L"\"", exe + work + L"\\" + order[1] + L"\""};
    EXPECT_EQ(got, expected);
}

}  // namespace

namespace {

// Points the .txt association at the recorder for one scenario, then restores it.
class TextAssociation {
public:
    explicit TextAssociation(const std::wstring& program) {
        saved_ = e2e::regString(HKEY_CLASSES_ROOT, L".txt", L"");
        e2e::regSetString(HKEY_CLASSES_ROOT, L".txt", L"", L"QuibexE2eText");
        e2e::regSetString(HKEY_CLASSES_ROOT, L"QuibexE2eText\\shell\\open\\command", L"",
                          L"\"" + program + L"\" \"%1\"");
    }
    ~TextAssociation() {
        e2e::regDeleteTree(HKEY_CLASSES_ROOT, L"QuibexE2eText");
        if (saved_) e2e::regSetString(HKEY_CLASSES_ROOT, L".txt", L"", *saved_);
        else e2e::regDeleteTree(HKEY_CLASSES_ROOT, L".txt");
    }
    TextAssociation(const TextAssociation&) = delete;
    TextAssociation& operator=(const TextAssociation&) = delete;

private:
    std::optional<std::wstring> saved_;
};

TEST(E2eNoText, OutsideTheViewerWithoutAnEditorTheAssociationOpensTheTexts) {
    QuibexSession q(IniWith({"Viewer.InsideViewer=0", "Option.OpenMax=3"}).c_str());
    q.folder().copyFrom({L"e2e_recorder.exe"});
    TextAssociation association(q.folder().file(L"e2e_recorder.exe"));
    ASSERT_TRUE(q.start(ReadingArchive(L"four.zip")));
    EXPECT_TRUE(q.process().waitForExit().has_value()) << e2e::describeTopLevel(q.pid());
    ASSERT_TRUE(e2e::waitUntil([&] { return RecorderLines(q).size() >= 3; }, 10s));
    std::vector<std::wstring> lines = RecorderLines(q);
    EXPECT_EQ(lines.size(), 3u) << "at most OpenMax texts";
    for (const std::wstring& line : lines)
        EXPECT_NE(line.find(q.folder().file(L"temp") + L"\\"), std::wstring::npos) << e2e::toUtf8(line);
}

// A text an earlier run left behind, still open in another program so it
// cannot be deleted, is not this archive's: the no-text reaction still runs.
TEST(E2eNoText, LeftoverTextThatCannotBeDeletedIsNotTaken) {
    QuibexSession q(IniWith({"Option.NoText=2"}).c_str());
    std::wstring work = q.folder().file(L"temp");
    ASSERT_TRUE(CreateDirectoryW(work.c_str(), nullptr));
    std::wstring stale = work + L"\\stale.txt";
    e2e::writeFileBytes(stale, "left by an earlier run");
    e2e::UniqueHandle held(CreateFileW(stale.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    ASSERT_TRUE(q.start(ReadingArchive(L"binary.zip")));
    HWND box = nullptr;
    e2e::MessageBoxInfo m = q.waitMessage(&box);
    ASSERT_TRUE(box) << e2e::describeTopLevel(q.pid());
    EXPECT_EQ(m.text, kZipNoText + L"アーカイバツールで確認してください。");
    e2e::answerMessageBox(box, L"OK");
    EXPECT_TRUE(q.process().waitForExit().has_value());
}

}  // namespace
