// The user's archiver tool, editor and print tool, and printing by
// association: the recorder stands in for each tool and logs exactly the
// command line it was started with.
#include <gtest/gtest.h>

#include "actions/action_messages.h"
#include "actions/external_tools.h"
#include "box_answerer.h"
#include "core/app_state.h"
#include "launch_fixture.h"

namespace quibex {
namespace {

namespace text = action_text;

class ActionsTools : public LaunchTest {
protected:
    void SetUp() override {
        LaunchTest::SetUp();
        // A tool in a folder with a blank, so the quoting matters.
        CreateDirectoryW(folder_->file(L"My Tools").c_str(), nullptr);
        tool_ = folder_->file(L"My Tools\\tool.exe");
        ASSERT_TRUE(CopyFileW(RecorderPath().c_str(), tool_.c_str(), FALSE));
        file_ = MakeFile(L"read me.txt");
    }

    // Runs `action` answering its boxes, returns its result through `result`.
    std::vector<SeenBox> Run(DWORD (*action)(const std::wstring&), const std::wstring& path, DWORD& result,
                             std::vector<int> answers = {}) {
        result = 0xDEADBEEF;
        return RunAnsweringBoxes([&] { result = action(path); }, std::move(answers));
    }

    std::string OnlyLine() {
        auto lines = WaitForLines(1);
        EXPECT_EQ(lines.size(), 1u);
        return lines.empty() ? std::string() : lines[0];
    }

    static void ExpectError(const SeenBox& box, const std::wstring& message) {
        EXPECT_EQ(box.title, L"Quibex");
        EXPECT_EQ(box.text, message);
        EXPECT_TRUE(box.errorIcon);
        EXPECT_TRUE(box.hasOk && !box.hasYes && !box.hasNo);
    }
    static void ExpectPrintQuestion(const SeenBox& box) {
        EXPECT_EQ(box.title, L"Quibex");
        EXPECT_EQ(box.text, text::kAskPrint);
        EXPECT_TRUE(box.questionIcon);
        EXPECT_TRUE(box.hasYes && box.hasNo && !box.hasOk);
    }

    std::wstring tool_, file_;
};

TEST_F(ActionsTools, ArchiverToolAndEditorGetQuotedToolAndFile) {
    struct Case {
        const char* name;
        DWORD (*action)(const std::wstring&);
        std::wstring Settings::*setting;
        bool quoteSetting;
    } cases[] = {
        {"archiver tool", OpenArchiveWithTool, &Settings::ArcAplPath, false},
        {"archiver tool already quoted", OpenArchiveWithTool, &Settings::ArcAplPath, true},
        {"editor", OpenTextWithEditor, &Settings::TxtEdtPath, false},
        {"editor already quoted", OpenTextWithEditor, &Settings::TxtEdtPath, true},
    };
    size_t logged = 0;
    for (const auto& c : cases) {
        AppSettings().*c.setting = c.quoteSetting ? L"\"" + tool_ + L"\"" : tool_;
        DWORD pid = 0;
        auto boxes = Run(c.action, file_, pid);
        EXPECT_NE(pid, 0u) << c.name;
        EXPECT_TRUE(boxes.empty()) << c.name;
        auto lines = WaitForLines(++logged);
        ASSERT_EQ(lines.size(), logged) << c.name;
        EXPECT_EQ(lines.back(), Utf8(L"\"" + tool_ + L"\" \"" + file_ + L"\"")) << c.name;
        AppSettings() = Settings{};
    }
}

TEST_F(ActionsTools, PrintToolCommandLineForEveryParameterPlacement) {
    struct Case {
        int16_t paramAfterFile;
        std::wstring param, tail;  // what follows the quoted tool
    } cases[] = {
        {1, L"/p /s:\"x y\"", L" \"" + file_ + L"\" /p /s:\"x y\""},
        {1, L"", L" \"" + file_ + L"\""},
        {0, L"/p /s:\"x y\"", L" /p /s:\"x y\" \"" + file_ + L"\""},
        {0, L"", L" \"" + file_ + L"\""},
    };
    size_t logged = 0;
    for (const auto& c : cases) {
        Settings& s = AppSettings();
        s.PrtConfirm = 0;
        s.PrtToolPath = tool_;
        s.PrtToolParam = c.param;
        s.ParamAfterFile = c.paramAfterFile;
        DWORD pid = 0;
        auto boxes = Run(PrintTextWithTool, file_, pid);
        EXPECT_NE(pid, 0u);
        EXPECT_TRUE(boxes.empty()) << "PrtConfirm 0 asks nothing";
        auto lines = WaitForLines(++logged);
        ASSERT_EQ(lines.size(), logged);
        EXPECT_EQ(lines.back(), Utf8(L"\"" + tool_ + L"\"" + c.tail)) << c.paramAfterFile << Utf8(c.param);
    }
}

TEST_F(ActionsTools, ToolsNotSetShowTheirMessages) {
    AppSettings().PrtConfirm = 0;
    struct Case {
        DWORD (*action)(const std::wstring&);
        const wchar_t* message;
    } cases[] = {
        {OpenArchiveWithTool, text::kArchiverToolNotSet},
        {OpenTextWithEditor, text::kEditorNotSet},
        {PrintTextWithTool, text::kPrintToolNotSet},
    };
    for (const auto& c : cases) {
        DWORD result = 0;
        auto boxes = Run(c.action, file_, result);
        EXPECT_EQ(result, 0u);
        ASSERT_EQ(boxes.size(), 1u);
        ExpectError(boxes[0], c.message);
    }
    EXPECT_TRUE(LinesBeforeSentinel().empty());
}

TEST_F(ActionsTools, MissingToolShowsStartFailureNamingTheSetting) {
    const std::wstring missing = folder_->file(L"No Such\\tool.exe");
    const std::wstring halfQuoted = L"\"" + tool_;  // wrapped again as a whole: no program of that name
    Settings& s = AppSettings();
    s.PrtConfirm = 0;
    struct Case {
        DWORD (*action)(const std::wstring&);
        std::wstring Settings::*setting;
        std::wstring value;
    } cases[] = {
        {OpenArchiveWithTool, &Settings::ArcAplPath, missing},
        {OpenTextWithEditor, &Settings::TxtEdtPath, missing},
        {PrintTextWithTool, &Settings::PrtToolPath, missing},
        {OpenArchiveWithTool, &Settings::ArcAplPath, halfQuoted},
    };
    for (const auto& c : cases) {
        s.*c.setting = c.value;
        DWORD result = 1;
        auto boxes = Run(c.action, file_, result);
        EXPECT_EQ(result, 0u);
        ASSERT_EQ(boxes.size(), 1u);
        ExpectError(boxes[0], text::ToolStartFailed(c.value));
        s.*c.setting = L"";
    }
    EXPECT_TRUE(LinesBeforeSentinel().empty());
}

TEST_F(ActionsTools, ArchiverToolNamingQuibexIsRefused) {
    // The editor may be anything, even a program named like us.
    const std::wstring selfNamed = folder_->file(L"QUIBEX.EXE");
    ASSERT_TRUE(CopyFileW(RecorderPath().c_str(), selfNamed.c_str(), FALSE));
    for (const std::wstring& arc : {selfNamed, folder_->file(L"myquibex.exe"), std::wstring(L"C:\\x\\Quibex.exe")}) {
        AppSettings().ArcAplPath = arc;
        DWORD result = 1;
        auto boxes = Run(OpenArchiveWithTool, file_, result);
        EXPECT_EQ(result, 0u);
        ASSERT_EQ(boxes.size(), 1u);
        ExpectError(boxes[0], text::kArchiverToolIsSelf);
    }
    EXPECT_TRUE(LinesBeforeSentinel().empty());

    AppSettings().TxtEdtPath = selfNamed;
    DWORD pid = 0;
    EXPECT_TRUE(Run(OpenTextWithEditor, file_, pid).empty());
    EXPECT_NE(pid, 0u);
    auto lines = WaitForLines(2);  // the sentinel's line and the editor's
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], Utf8(L"\"" + selfNamed + L"\" \"" + file_ + L"\""));
}

TEST_F(ActionsTools, PrintConfirmationNoStartsNothing) {
    Settings& s = AppSettings();
    s.PrtConfirm = 1;
    s.PrtToolPath = tool_;
    DWORD result = 1;
    auto boxes = Run(PrintTextWithTool, file_, result, {IDNO});
    EXPECT_EQ(result, 0u);
    ASSERT_EQ(boxes.size(), 1u) << "no message follows the answer No";
    ExpectPrintQuestion(boxes[0]);

    classes_.RegisterClass(L".qxprn", L"QxTestPrint", {{L"print", RecorderCommand(L"print")}});
    std::wstring printable = MakeFile(L"p.qxprn");
    boxes = Run(PrintTextByAssociation, printable, result, {IDNO});
    EXPECT_EQ(result, 0u);
    ASSERT_EQ(boxes.size(), 1u);
    ExpectPrintQuestion(boxes[0]);
    EXPECT_TRUE(LinesBeforeSentinel().empty());
}

TEST_F(ActionsTools, PrintConfirmationYesStartsTheTool) {
    Settings& s = AppSettings();
    s.PrtConfirm = 1;
    s.PrtToolPath = tool_;
    s.PrtToolParam = L"-q";
    s.ParamAfterFile = 1;
    DWORD pid = 0;
    auto boxes = Run(PrintTextWithTool, file_, pid, {IDYES});
    EXPECT_NE(pid, 0u);
    ASSERT_EQ(boxes.size(), 1u);
    ExpectPrintQuestion(boxes[0]);
    EXPECT_EQ(OnlyLine(), Utf8(L"\"" + tool_ + L"\" \"" + file_ + L"\" -q"));
}

TEST_F(ActionsTools, PrintConfirmationComesBeforeTheMissingToolMessage) {
    AppSettings().PrtConfirm = 1;
    DWORD result = 1;
    auto boxes = Run(PrintTextWithTool, file_, result, {IDYES});
    EXPECT_EQ(result, 0u);
    ASSERT_EQ(boxes.size(), 2u);
    ExpectPrintQuestion(boxes[0]);
    ExpectError(boxes[1], text::kPrintToolNotSet);
}

TEST_F(ActionsTools, PrintByAssociationAlwaysUsesThePrintVerb) {
    // The class's default verb is "open" and ShellExecOpen asks for "open":
    // printing ignores both.
    classes_.RegisterClass(L".qxprn", L"QxTestPrint",
                           {{L"open", RecorderCommand(L"open")}, {L"print", RecorderCommand(L"print")}}, L"open");
    Settings& s = AppSettings();
    s.PrtConfirm = 0;
    s.ShellExecOpen = 1;
    std::wstring path = MakeFile(L"印刷.qxprn");
    DWORD result = 0;
    auto boxes = Run(PrintTextByAssociation, path, result);
    EXPECT_GT(result, 32u);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(OnlyLine(), Utf8(L"\"" + RecorderPath() + L"\" print \"" + path + L"\""));
}

TEST_F(ActionsTools, PrintByAssociationFailureShowsMessage) {
    AppSettings().PrtConfirm = 0;
    // One type without any association, one whose class can open but not print.
    classes_.RegisterClass(L".qxopenonly", L"QxTestOpenOnly", {{L"open", RecorderCommand(L"open")}});
    for (const wchar_t* name : {L"x.qxnone", L"y.qxopenonly"}) {
        std::wstring path = MakeFile(name);
        DWORD result = 99;
        auto boxes = Run(PrintTextByAssociation, path, result);
        EXPECT_LE(result, 32u) << Utf8(name);
        ASSERT_EQ(boxes.size(), 1u) << Utf8(name);
        ExpectError(boxes[0], text::PrintByAssociationFailed(path));
    }
    EXPECT_TRUE(LinesBeforeSentinel().empty());
}

}  // namespace
}  // namespace quibex
