// 7z and RAR archives in the viewer: their texts in tabs, the kind in the
// status bar, and the message when their library is missing.
#include <windows.h>

#include <gtest/gtest.h>

#include <e2e/gtest_support.h>

#include "viewer_support.h"

namespace {

// A real archive of the shared test data, as a Windows path.
std::wstring SharedArchive(const std::wstring& relative) {
    return e2e::hostToWinePath(QUIBEX_TESTDATA) + L"\\" + relative;
}

std::wstring Lower(std::wstring text) {
    CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

struct KindCase {
    std::wstring archive;     // a Windows path
    const wchar_t* kind;      // status panel 2
    const wchar_t* firstTab;  // the tab the viewer puts first
    const wchar_t* firstText;
    size_t tabs;
    const wchar_t* screenshot;
};

TEST(E2eViewer7zRar, ReadmeComesFirstAndTheStatusBarNamesTheKind) {
    const KindCase cases[] = {
        {ViewerArchive(L"kinds.7z"), L"7Z", L"readme.txt", L"Quibex のテストです。", 2, L"viewer-7z"},
        // Found by its first bytes: the extension names no kind.
        {ViewerArchive(L"kinds7z.bin"), L"7Z", L"readme.txt", L"Quibex のテストです。", 2, nullptr},
        {SharedArchive(L"rar\\rar5_stored.rar"), L"RAR", L"helloworld.txt", L"hello libarchive test suite!", 1,
         L"viewer-rar"},
        // Self-extracting programs show the kind they carry.
        {SharedArchive(L"7z\\7zip_sfx_pe.exe"), L"7Z", L"test.txt.txt", L"123", 1, nullptr},
        {SharedArchive(L"rar\\rar5_sfx.exe"), L"RAR", L"test.txt.txt", L"123", 1, nullptr},
        // A volume set dropped by its second volume: the text lies in the first.
        {SharedArchive(L"rar\\rar5_multiarchive_solid.part02.rar"), L"RAR", L"cebula.txt", L"Cebula", 1, nullptr},
    };
    for (const KindCase& c : cases) {
        SCOPED_TRACE(e2e::toUtf8(c.archive));
        QuibexSession q;
        e2e::ScreenshotAtEnd shot;
        ASSERT_TRUE(q.start(L"\"" + c.archive + L"\""));
        shot.setProcess(q.pid());
        ViewerParts v = WaitBuiltViewer(q);
        ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
        const std::vector<std::wstring> tabs = e2e::tabItems(v.tabs);
        ASSERT_EQ(tabs.size(), c.tabs);
        EXPECT_NE(Lower(tabs[0]).find(c.firstTab), std::wstring::npos) << e2e::toUtf8(tabs[0]);
        const std::wstring text = e2e::richEditText(TextBox(v, 0));
        EXPECT_NE(text.find(c.firstText), std::wstring::npos) << e2e::toUtf8(text);
        const std::vector<std::wstring> panels = e2e::statusBarTexts(v.status);
        ASSERT_EQ(panels.size(), 3u);
        EXPECT_EQ(panels[1], c.kind);
        EXPECT_EQ(panels[2], std::to_wstring(c.tabs));
        if (c.screenshot) q.screenshot(c.screenshot);
        EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
    }
}

TEST(E2eViewer7zRar, MissingLibraryIsNamed) {
    const std::pair<std::wstring, const wchar_t*> cases[] = {
        {ViewerArchive(L"kinds.7z"), L"7-ZIP32.DLL がみつかりません。"},
        {SharedArchive(L"rar\\rar5_stored.rar"), L"UNRAR32.DLL がみつかりません。"},
    };
    for (const auto& [archive, message] : cases) {
        SCOPED_TRACE(e2e::toUtf8(archive));
        e2e::ProgramFolder folder;
        folder.copyFrom({L"Quibex.exe", L"UNLHA32.DLL", L"UNZIP32.DLL", L"CAB32.DLL"});
        folder.writeIni(kDefaultIni);
        e2e::Process p;
        ASSERT_TRUE(p.start(folder.file(L"Quibex.exe"), L"\"" + archive + L"\"", folder.path()));
        HWND box = e2e::waitForMessageBox(p.id());
        ASSERT_TRUE(box);
        const e2e::MessageBoxInfo m = e2e::readMessageBox(box);
        EXPECT_EQ(m.text, message);
        EXPECT_EQ(m.icon, e2e::MessageIcon::Error);
        e2e::answerMessageBox(box, L"OK");
        EXPECT_TRUE(p.waitForExit().has_value());
    }
}

}  // namespace
