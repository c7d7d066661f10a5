// Text rules of launching: substring replacement, the shell's executable
// buffer, self-reference detection, tool quoting and command lines.
#include <gtest/gtest.h>

#include <string>

#include "actions/launch_text.h"

namespace quibex {
namespace {

struct ReplaceCase {
    const wchar_t* name;
    std::wstring text, find, replacement;
    int start, count, mode;
    std::wstring expected;
};

TEST(ActionsReplaceText, Table) {
    const ReplaceCase cases[] = {
        {L"all occurrences", L"a-b-c", L"-", L"+", 1, -1, 0, L"a+b+c"},
        {L"nothing found", L"abc", L"x", L"y", 1, -1, 0, L"abc"},
        {L"count limits", L"aaaa", L"a", L"b", 1, 2, 0, L"bbaa"},
        {L"count zero", L"aaaa", L"a", L"b", 1, 0, 0, L"aaaa"},
        {L"start keeps left part", L"a-b-c", L"-", L"+", 3, -1, 0, L"a-b+c"},
        {L"start on the hit", L"a-b-c", L"-", L"+", 2, -1, 0, L"a+b+c"},
        {L"start beyond end", L"abc", L"c", L"x", 4, -1, 0, L"abc"},
        {L"start below one", L"abc", L"a", L"x", 0, -1, 0, L"xbc"},
        {L"exact is case-sensitive", L"Ab ab AB", L"ab", L"x", 1, -1, 0, L"Ab x AB"},
        {L"mode 1 ignores case", L"Ab ab AB", L"ab", L"x", 1, -1, 1, L"x x x"},
        {L"replacement holds find: no rescan", L"aa", L"a", L"aa", 1, -1, 0, L"aaaa"},
        {L"search resumes behind replacement", L"xxx", L"xx", L"x", 1, -1, 0, L"xx"},
        {L"delete", L"a  b", L" ", L"", 1, -1, 0, L"ab"},
        {L"empty find", L"abc", L"", L"x", 1, -1, 0, L"abc"},
        {L"empty text", L"", L"a", L"b", 1, -1, 0, L""},
        {L"Japanese", L"書庫.lzh 書庫", L"書庫", L"ab", 1, -1, 0, L"ab.lzh ab"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReplaceText(c.text, c.find, c.replacement, c.start, c.count, c.mode), c.expected) << c.name;
}

TEST(ActionsCollapseExecutableBuffer, Table) {
    std::wstring full(260, L'\0');
    std::wstring path = L"C:\\Program Files\\Tool\\tool.exe";
    std::copy(path.begin(), path.end(), full.begin());
    // A path that fills the buffer but for one NUL: no double blank, so no trim.
    std::wstring tight(259, L'a');
    tight.push_back(L'\0');
    struct Case {
        const wchar_t* name;
        std::wstring buffer, expected;
    } cases[] = {
        {L"trailing NULs vanish", full, path},
        {L"inner runs shrink to one", std::wstring(L"C:\\a   b\\x.exe\0\0\0", 17), L"C:\\a b\\x.exe"},
        {L"leading blanks trimmed", std::wstring(L"  C:\\x.exe\0\0", 12), L"C:\\x.exe"},
        {L"single inner NUL is one blank", std::wstring(L"C:\\x\0y.exe", 10), L"C:\\x y.exe"},
        {L"single trailing blank stays", tight, std::wstring(259, L'a') + L" "},
        {L"all NULs", std::wstring(260, L'\0'), L""},
    };
    for (const auto& c : cases) EXPECT_EQ(CollapseExecutableBuffer(c.buffer), c.expected) << c.name;
}

TEST(ActionsNamesQuibex, Table) {
    struct Case {
        std::wstring path;
        bool expected;
    } cases[] = {
        {L"C:\\Tools\\Quibex\\Quibex.exe", true},
        {L"C:\\TOOLS\\QUIBEX.EXE", true},
        {L"C:\\x\\myquibex.exe", true},
        {L"C:\\x\\quibex.exe.bak\\lha.exe", true},  // substring of the whole path
        {L"\"C:\\x\\quibex.exe\" %1", true},
        {L"C:\\x\\quibex.ex", false},
        {L"C:\\x\\quibex2.exe", false},
        {L"C:\\Program Files\\Lhaplus\\Lhaplus.exe", false},
        {L"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(NamesQuibex(c.path), c.expected) << c.path;
}

TEST(ActionsQuoteToolPath, Table) {
    struct Case {
        std::wstring path, expected;
    } cases[] = {
        {L"C:\\Tools\\ed.exe", L"\"C:\\Tools\\ed.exe\""},
        {L"C:\\Program Files\\ed.exe", L"\"C:\\Program Files\\ed.exe\""},
        {L"\"C:\\Program Files\\ed.exe\"", L"\"C:\\Program Files\\ed.exe\""},
        {L"\"C:\\Program Files\\ed.exe", L"\"\"C:\\Program Files\\ed.exe\""},
        {L"C:\\Program Files\\ed.exe\"", L"\"C:\\Program Files\\ed.exe\"\""},
        {L"\"", L"\"\"\""},
        {L"\"\"", L"\"\""},
        {L"", L"\"\""},
    };
    for (const auto& c : cases) EXPECT_EQ(QuoteToolPath(c.path), c.expected) << c.path;
}

TEST(ActionsToolCommandLine, FileAlwaysQuoted) {
    EXPECT_EQ(ToolCommandLine(L"C:\\Tools\\arc.exe", L"C:\\a.lzh"), L"\"C:\\Tools\\arc.exe\" \"C:\\a.lzh\"");
    EXPECT_EQ(ToolCommandLine(L"\"C:\\My Tools\\ed.exe\"", L"C:\\w d\\r.txt"),
              L"\"C:\\My Tools\\ed.exe\" \"C:\\w d\\r.txt\"");
}

TEST(ActionsPrintToolCommandLine, EveryParamAfterFileAndParamCombination) {
    const std::wstring tool = L"C:\\P T\\print.exe", file = L"C:\\w\\read me.txt";
    struct Case {
        int paramAfterFile;
        std::wstring param, expected;
    } cases[] = {
        {1, L"/p /q", L"\"C:\\P T\\print.exe\" \"C:\\w\\read me.txt\" /p /q"},
        {1, L"", L"\"C:\\P T\\print.exe\" \"C:\\w\\read me.txt\""},
        {0, L"/p /q", L"\"C:\\P T\\print.exe\" /p /q \"C:\\w\\read me.txt\""},
        {0, L"", L"\"C:\\P T\\print.exe\" \"C:\\w\\read me.txt\""},
        // Only 1 puts the parameter last.
        {2, L"-x", L"\"C:\\P T\\print.exe\" -x \"C:\\w\\read me.txt\""},
        {-1, L"-x", L"\"C:\\P T\\print.exe\" -x \"C:\\w\\read me.txt\""},
        // Taken as typed: quotes and blanks are not touched.
        {1, L" \"a b\"  c", L"\"C:\\P T\\print.exe\" \"C:\\w\\read me.txt\"  \"a b\"  c"},
        {0, L"\"a b\"", L"\"C:\\P T\\print.exe\" \"a b\" \"C:\\w\\read me.txt\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PrintToolCommandLine(tool, file, c.param, c.paramAfterFile), c.expected)
            << c.paramAfterFile << " [" << std::string(c.param.begin(), c.param.end()) << "]";
    EXPECT_EQ(PrintToolCommandLine(L"\"C:\\p.exe\"", L"f.txt", L"-a", 1), L"\"C:\\p.exe\" \"f.txt\" -a");
}

}  // namespace
}  // namespace quibex
