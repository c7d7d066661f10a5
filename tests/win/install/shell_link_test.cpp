// Links written and read back through the shell's own link object, and the
// special folders the welcome window asks for.
#include <gtest/gtest.h>
#include <windows.h>

#include "install/shell_link.h"
#include "link_file.h"
#include "test_folder.h"

namespace {

using quibex::ShellLink;
using quibex::ShellLinkFields;

std::wstring ThisProgram() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(WinShellLink, EveryFieldComesBackAndASecondLinkReplacesTheFirst) {
    TestFolder folder(L"qx-link");
    ShellLink shell;
    ShellLinkFields link;
    link.ExeFile = ThisProgram();
    link.WorkDir = folder.path();
    link.ExeArgs = L"--mode \"二 語\"";
    link.IconFile = ThisProgram();
    link.IconIdx = 2;
    link.ShowCmd = SW_SHOWMAXIMIZED;
    link.Description = L"書庫ファイル内のテキストを閲覧します";
    const std::wstring lnk = folder.file(L"テスト リンク.lnk");
    ASSERT_TRUE(shell.CreateShellLink(lnk, link));

    ShellLinkFields read;
    ASSERT_TRUE(shell.GetShellLinkInfo(lnk, read));
    EXPECT_EQ(read.ExeFile, link.ExeFile);
    EXPECT_EQ(read.WorkDir, link.WorkDir);
    EXPECT_EQ(read.ExeArgs, link.ExeArgs);
    EXPECT_EQ(read.IconFile, link.IconFile);
    EXPECT_EQ(read.IconIdx, 2);
    EXPECT_EQ(LinkShowCommand(ReadBytes(lnk)), static_cast<DWORD>(SW_SHOWMAXIMIZED));
    EXPECT_EQ(read.Description, link.Description);

    link.ExeArgs = L"second";
    ASSERT_TRUE(shell.CreateShellLink(lnk, link));
    ASSERT_TRUE(shell.GetShellLinkInfo(lnk, read));
    EXPECT_EQ(read.ExeArgs, L"second");
}

TEST(WinShellLink, WithoutWorkingFolderArgumentsAndIconTheDescriptionAndShowCommandStillCount) {
    TestFolder folder(L"qx-link-bare");
    ShellLink shell;
    ShellLinkFields link;
    link.ExeFile = ThisProgram();
    link.ShowCmd = SW_SHOW;
    link.Description = L"説明";
    const std::wstring lnk = folder.file(L"bare.lnk");
    ASSERT_TRUE(shell.CreateShellLink(lnk, link));
    ShellLinkFields read;
    read.ExeArgs = L"left over";
    ASSERT_TRUE(shell.GetShellLinkInfo(lnk, read));
    EXPECT_EQ(read.ExeFile, link.ExeFile);
    EXPECT_EQ(read.ExeArgs, L"");
    EXPECT_EQ(LinkShowCommand(ReadBytes(lnk)), static_cast<DWORD>(SW_SHOW));
    EXPECT_EQ(read.Description, L"説明");
}

TEST(WinShellLink, MissingPathsAndUnwritablePlacesGiveFalseAndNoFile) {
    TestFolder folder(L"qx-link-bad");
    ShellLink shell;
    ShellLinkFields link;
    link.ExeFile = ThisProgram();
    EXPECT_FALSE(shell.CreateShellLink(L"", link));
    ShellLinkFields noTarget;
    EXPECT_FALSE(shell.CreateShellLink(folder.file(L"none.lnk"), noTarget));
    EXPECT_FALSE(Exists(folder.file(L"none.lnk")));
    EXPECT_FALSE(shell.CreateShellLink(folder.file(L"no such folder\\x.lnk"), link));
    EXPECT_FALSE(Exists(folder.file(L"no such folder")));

    ShellLinkFields read;
    EXPECT_FALSE(shell.GetShellLinkInfo(L"", read));
    EXPECT_FALSE(shell.GetShellLinkInfo(folder.file(L"absent.lnk"), read));
    WriteBytes(folder.file(L"text.lnk"), "not a link");
    EXPECT_FALSE(shell.GetShellLinkInfo(folder.file(L"text.lnk"), read));
}

TEST(WinShellLink, DesktopAndSendToAreFoldersOthersLeaveThePathAlone) {
    ShellLink shell;
    for (int id : {quibex::kDesktopFolder, quibex::kSendToFolder}) {
        std::wstring path;
        ASSERT_TRUE(shell.GetSystemFolderPath(nullptr, id, path)) << id;
        DWORD attributes = GetFileAttributesW(path.c_str());
        EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES) << id;
        EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY) << id;
    }
    // The printers folder is virtual (Wine gives it a "::{GUID}" path), 0x7F no folder at all.
    for (int id : {0x0004, 0x007F}) {
        std::wstring path = L"unchanged";
        EXPECT_FALSE(shell.GetSystemFolderPath(nullptr, id, path)) << id;
        EXPECT_EQ(path, L"unchanged");
    }
}

}  // namespace
