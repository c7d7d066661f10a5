// Association lookup and launching against the prefix's registry and shell,
// with the recorder registered as the program of test file classes.
#include <gtest/gtest.h>

#include "actions/action_messages.h"
#include "actions/association.h"
#include "box_answerer.h"
#include "core/app_state.h"
#include "launch_fixture.h"

namespace quibex {
namespace {

namespace text = action_text;

// A value of the registry of every shape RegReadValue meets, under HKCU.
class ActionsRegReadValue : public ::testing::Test {
protected:
    void SetUp() override {
        sub_ = L"Software\\QuibexActionsTest-" + std::to_wstring(GetCurrentProcessId());
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, sub_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                                  nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        RegCloseKey(key_);
        RegDeleteTreeW(HKEY_CURRENT_USER, sub_.c_str());
    }
    void SetString(const wchar_t* name, const std::wstring& value, DWORD type = REG_SZ) {
        ASSERT_EQ(RegSetValueExW(key_, name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    void SetDword(const wchar_t* name, DWORD value) {
        ASSERT_EQ(RegSetValueExW(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)),
                  ERROR_SUCCESS);
    }
    std::wstring sub_;
    HKEY key_ = nullptr;
};

TEST_F(ActionsRegReadValue, StringsUpToTheBufferOfTheSystemCodePage) {
    const std::wstring kana127(127, L'あ'), kana128(128, L'あ');  // two bytes each in code page 932
    struct Case {
        const wchar_t* name;
        std::wstring stored, expected;
    } cases[] = {
        {L"", L"default value", L"default value"},
        {L"short", L"abc", L"abc"},
        {L"empty", L"", L""},
        {L"ascii255", std::wstring(255, L'x'), std::wstring(255, L'x')},
        {L"ascii256", std::wstring(256, L'x'), L"<fallback>"},
        {L"ascii300", std::wstring(300, L'x'), L"<fallback>"},
        {L"kana254bytes", kana127, kana127},
        {L"kana256bytes", kana128, L"<fallback>"},
        {L"kana255bytes", kana127 + L"x", kana127 + L"x"},
        {L"embeddedNul", std::wstring(L"ab\0cd", 5), L"ab"},
    };
    // The kana rows count bytes of code page 932, the locale these tests run in.
    const bool cp932 = GetACP() == 932;
    for (const auto& c : cases) SetString(c.name, c.stored);
    for (const auto& c : cases) {
        if (!cp932 && std::wstring(c.name).rfind(L"kana", 0) == 0) continue;
        EXPECT_EQ(RegReadValue(HKEY_CURRENT_USER, sub_, c.name, std::wstring(L"<fallback>")), c.expected)
            << Utf8(c.name);
    }
}

TEST_F(ActionsRegReadValue, MissingOrMistypedValuesGiveTheFallback) {
    SetDword(L"number", 7);
    SetString(L"text", L"12");
    const std::wstring fb = L"<fallback>";
    EXPECT_EQ(RegReadValue(HKEY_CURRENT_USER, sub_, L"absent", fb), fb);
    EXPECT_EQ(RegReadValue(HKEY_CURRENT_USER, sub_, L"number", fb), fb);
    EXPECT_EQ(RegReadValue(HKEY_CURRENT_USER, sub_ + L"\\NoSuchKey", L"", fb), fb);
    EXPECT_EQ(RegReadValue(HKEY_CURRENT_USER, sub_, L"", fb), fb);  // key without a default value

    EXPECT_EQ(RegReadValue(HKEY_CURRENT_USER, sub_, L"number", DWORD{99}), 7u);
    EXPECT_EQ(RegReadValue(HKEY_CURRENT_USER, sub_, L"text", DWORD{99}), 99u);
    EXPECT_EQ(RegReadValue(HKEY_CURRENT_USER, sub_, L"absent", DWORD{99}), 99u);
    EXPECT_EQ(RegReadValue(HKEY_CURRENT_USER, sub_ + L"\\NoSuchKey", L"number", DWORD{5}), 5u);
}

class ActionsAssociation : public LaunchTest {
protected:
    void SetUp() override {
        LaunchTest::SetUp();
        const std::vector<std::pair<std::wstring, std::wstring>> both = {{L"open", RecorderCommand(L"open")},
                                                                          {L"print", RecorderCommand(L"print")}};
        classes_.RegisterClass(L".qxprint", L"QxTestPrintDefault", both, L"print");
        classes_.RegisterClass(L".qxnodef", L"QxTestNoDefault", both);
        // 300 bytes in code page 932: read as missing although the key exists.
        classes_.RegisterClass(L".qxlongcls", std::wstring(150, L'あ'), both, L"print");
        classes_.RegisterClass(L".qxlongverb", L"QxTestLongVerb", both, std::wstring(128, L'い'));
    }

    // What the recorder logs when the shell starts it for `file` with `verb`.
    static std::string Expected(const std::wstring& verb, const std::wstring& file) {
        return Utf8(L"\"" + RecorderPath() + L"\" " + verb + L" \"" + file + L"\"");
    }
};

TEST_F(ActionsAssociation, VerbFromModeAndClassDefault) {
    struct Case {
        const wchar_t* file;
        int mode;
        const wchar_t* verb;
    } cases[] = {
        {L"a.qxprint", 1, L"print"},      {L"b.qxprint", 0, L"open"},
        {L"c.qxnodef", 1, L"open"},       {L"d.qxnodef", 0, L"open"},
        {L"e.qxlongcls", 1, L"open"},     {L"f.qxlongverb", 1, L"open"},
        {L"G.QXPRINT", 1, L"print"},
    };
    size_t logged = 0;
    for (const auto& c : cases) {
        std::wstring path = MakeFile(c.file);
        std::wstring arg = path;
        EXPECT_TRUE(OpenByAssociation(arg, c.mode)) << Utf8(c.file);
        EXPECT_EQ(arg, path);
        auto lines = WaitForLines(++logged);
        ASSERT_EQ(lines.size(), logged) << Utf8(c.file);
        EXPECT_EQ(lines.back(), Expected(c.verb, path)) << Utf8(c.file) << " mode " << c.mode;
    }
}

TEST_F(ActionsAssociation, QuotedPathIsLaunchedWithoutQuotes) {
    std::wstring path = MakeFile(L"quoted file.qxnodef");
    std::wstring arg = L"\"" + path + L"\"";
    EXPECT_TRUE(OpenByAssociation(arg, 0));
    EXPECT_EQ(arg, path);  // the caller's variable is unquoted too
    auto lines = WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], Expected(L"open", path));
}

TEST_F(ActionsAssociation, PathQuotedAtOneEndIsPassedUnchanged) {
    std::wstring path = MakeFile(L"half.qxnodef");
    for (std::wstring arg : {L"\"" + path, path + L"\""}) {
        const std::wstring before = arg;
        // No file carries the stray quote in its name, so only a path that
        // lost it could have launched.
        EXPECT_FALSE(OpenByAssociation(arg, 0)) << Utf8(arg);
        EXPECT_EQ(arg, before);
    }
    EXPECT_TRUE(LinesBeforeSentinel().empty());
}

TEST_F(ActionsAssociation, RefusesEmptyPathAndUnknownVerbModes) {
    std::wstring empty;
    EXPECT_FALSE(OpenByAssociation(empty, 0));
    EXPECT_FALSE(OpenByAssociation(empty, 1));
    std::wstring path = MakeFile(L"mode.qxprint");
    for (int mode : {-1, 2, 256}) {
        std::wstring arg = L"\"" + path + L"\"";
        EXPECT_FALSE(OpenByAssociation(arg, mode)) << mode;
        EXPECT_EQ(arg, L"\"" + path + L"\"") << "nothing happens, not even unquoting";
    }
    EXPECT_TRUE(LinesBeforeSentinel().empty());
}

TEST_F(ActionsAssociation, VerbModeFollowsShellExecOpen) {
    AppSettings().ShellExecOpen = 1;
    EXPECT_EQ(VerbModeFromSettings(), 0);
    AppSettings().ShellExecOpen = -1;
    EXPECT_EQ(VerbModeFromSettings(), 0);
    AppSettings().ShellExecOpen = 0;
    EXPECT_EQ(VerbModeFromSettings(), 1);
}

TEST_F(ActionsAssociation, FindAssociatedExe) {
    std::wstring exe = FindAssociatedExe(MakeFile(L"x.qxprint"));
    EXPECT_EQ(CompareStringOrdinal(exe.c_str(), -1, RecorderPath().c_str(), -1, TRUE), CSTR_EQUAL) << Utf8(exe);
    EXPECT_EQ(FindAssociatedExe(MakeFile(L"x.qxnone")), L"");
}

// --- the archive and text routines, whose failures show message boxes ---

TEST_F(ActionsAssociation, ArchiveWithoutAssociationShowsMessageAndStartsNothing) {
    std::wstring path = MakeFile(L"書庫.qxnone");
    bool result = true;
    auto boxes = RunAnsweringBoxes([&] { result = OpenArchiveByAssociation(path); });
    EXPECT_FALSE(result);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, L"Quibex");
    EXPECT_EQ(boxes[0].text, text::NoAssociation(path));
    EXPECT_TRUE(boxes[0].hasOk && !boxes[0].hasYes);
    EXPECT_TRUE(boxes[0].errorIcon);
    EXPECT_TRUE(LinesBeforeSentinel().empty());
}

TEST_F(ActionsAssociation, ArchiveAssociatedWithQuibexIsRefused) {
    // A real program named quibex.exe, so only the name can stop the launch.
    std::wstring selfNamed = folder_->file(L"quibex.exe");
    ASSERT_TRUE(CopyFileW(RecorderPath().c_str(), selfNamed.c_str(), FALSE));
    classes_.RegisterClass(L".qxselfa", L"QxTestSelfA", {{L"open", L"\"C:\\x\\myquibex.exe\" \"%1\""}});
    classes_.RegisterClass(L".qxselfb", L"QxTestSelfB", {{L"open", L"\"C:\\X\\QUIBEX.EXE\" \"%1\""}});
    classes_.RegisterClass(L".qxselfc", L"QxTestSelfC", {{L"open", L"\"" + selfNamed + L"\" open \"%1\""}});
    for (const wchar_t* name : {L"a.qxselfa", L"b.qxselfb", L"c.qxselfc"}) {
        std::wstring path = MakeFile(name);
        ASSERT_TRUE(NamesQuibex(FindAssociatedExe(path))) << Utf8(FindAssociatedExe(path));
        bool result = true;
        auto boxes = RunAnsweringBoxes([&] { result = OpenArchiveByAssociation(path); });
        EXPECT_FALSE(result) << Utf8(name);
        ASSERT_EQ(boxes.size(), 1u) << Utf8(name);
        EXPECT_EQ(boxes[0].text, text::kArchiveAssociatedWithSelf);
        EXPECT_EQ(boxes[0].title, L"Quibex");
        EXPECT_TRUE(boxes[0].errorIcon);
    }
    EXPECT_TRUE(LinesBeforeSentinel().empty());
}

TEST_F(ActionsAssociation, ArchiveOpensWithVerbFromShellExecOpen) {
    std::wstring path = MakeFile(L"archive.qxprint");
    // Each launch is awaited before the next: two recorders running at once
    // may log in either order.
    const wchar_t* verbs[] = {L"print", L"open"};
    for (int shellExecOpen : {0, 1}) {
        AppSettings().ShellExecOpen = static_cast<int16_t>(shellExecOpen);
        bool result = false;
        auto boxes = RunAnsweringBoxes([&] { result = OpenArchiveByAssociation(path); });
        EXPECT_TRUE(result);
        EXPECT_TRUE(boxes.empty());
        auto lines = WaitForLines(shellExecOpen + 1);
        ASSERT_EQ(lines.size(), static_cast<size_t>(shellExecOpen + 1));
        EXPECT_EQ(lines.back(), Expected(verbs[shellExecOpen], path));
    }
}

TEST_F(ActionsAssociation, TextAssociatedWithSelfNamedProgramOpens) {
    std::wstring selfNamed = folder_->file(L"quibex.exe");
    ASSERT_TRUE(CopyFileW(RecorderPath().c_str(), selfNamed.c_str(), FALSE));
    classes_.RegisterClass(L".qxselftxt", L"QxTestSelfText", {{L"open", L"\"" + selfNamed + L"\" open \"%1\""}});
    std::wstring path = MakeFile(L"readme.qxselftxt");
    bool result = false;
    auto boxes = RunAnsweringBoxes([&] { result = OpenTextByAssociation(path); });
    EXPECT_TRUE(result);
    EXPECT_TRUE(boxes.empty());
    auto lines = WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], Utf8(L"\"" + selfNamed + L"\" open \"" + path + L"\""));
}

TEST_F(ActionsAssociation, TextWithoutAssociationShowsMessage) {
    std::wstring path = MakeFile(L"読んでね.qxnone");
    bool result = true;
    auto boxes = RunAnsweringBoxes([&] { result = OpenTextByAssociation(path); });
    EXPECT_FALSE(result);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, L"Quibex");
    EXPECT_EQ(boxes[0].text, text::NoAssociation(path));
    EXPECT_TRUE(boxes[0].errorIcon && boxes[0].hasOk);
    EXPECT_TRUE(LinesBeforeSentinel().empty());
}

TEST_F(ActionsAssociation, LaunchFailureShowsMessageForArchiveAndText) {
    classes_.RegisterClass(L".qxgone", L"QxTestGone", {{L"open", L"\"C:\\qx-missing\\tool.exe\" \"%1\""}});
    std::wstring path = MakeFile(L"gone.qxgone");
    ASSERT_FALSE(FindAssociatedExe(path).empty()) << "the shell checks that the program exists";
    bool archive = true, textResult = true;
    auto boxes = RunAnsweringBoxes([&] {
        archive = OpenArchiveByAssociation(path);
        textResult = OpenTextByAssociation(path);
    });
    EXPECT_FALSE(archive);
    EXPECT_FALSE(textResult);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, text::LaunchFailed(path));
    EXPECT_EQ(boxes[1].text, text::LaunchFailed(path));
}

}  // namespace
}  // namespace quibex
