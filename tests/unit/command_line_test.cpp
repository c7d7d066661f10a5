#include <gtest/gtest.h>

#include "command_line.h"

namespace {

using arc::Format;
using arc::MatchRule;

struct Expect {
    Format format;
    const char* line;
    const char* archive;
    const char* folder;
    std::vector<std::string> patterns;
    MatchRule rule;
    bool overwrite, progress, attributes;
};

// The command lines the viewer sends, in every variant it builds.
TEST(CommandLine, ViewerCommandLines) {
    const Expect cases[] = {
        {Format::Lzh, R"(E "C:\path\arc.lzh" -y -c -a1 -n "C:\app\temp\" *.txt *.DOC)", R"(C:\path\arc.lzh)",
         R"(C:\app\temp\)", {"*.txt", "*.DOC"}, MatchRule::LzhFileName, true, false, true},
        {Format::Lzh, R"(E "C:\path\arc.lzh" -y -c -a1 "C:\app\temp\" *.txt *.DOC)", R"(C:\path\arc.lzh)",
         R"(C:\app\temp\)", {"*.txt", "*.DOC"}, MatchRule::LzhFileName, true, true, true},
        {Format::Lzh, R"(E "C:\path\arc.lzh" -y -c -a1 -n "C:\app\temp\" readme.txt)", R"(C:\path\arc.lzh)",
         R"(C:\app\temp\)", {"readme.txt"}, MatchRule::LzhFileName, true, false, true},
        {Format::Lzh, R"(E "A" -y -c -a1 -n -p "W\" "doc/sub/guide.chm")", "A", R"(W\)", {"doc/sub/guide.chm"},
         MatchRule::LzhWholePath, true, false, true},
        {Format::Zip, R"(-x -j -o --i "C:\path\arc.zip" "C:\app\temp\" *.txt *.DOC)", R"(C:\path\arc.zip)",
         R"(C:\app\temp\)", {"*.txt", "*.DOC"}, MatchRule::ZipPath, true, false, false},
        {Format::Zip, R"(-x -j -o "C:\path\arc.zip" "C:\app\temp\" *.txt *.DOC)", R"(C:\path\arc.zip)",
         R"(C:\app\temp\)", {"*.txt", "*.DOC"}, MatchRule::ZipPath, true, true, false},
        {Format::Zip, R"(-x -j -o --i "A" "W\" "doc/sub/guide.chm")", "A", R"(W\)", {"doc/sub/guide.chm"},
         MatchRule::ZipPath, true, false, false},
        {Format::Cab, R"(-x -j -o -i "A" "W\" *.txt)", "A", R"(W\)", {"*.txt"}, MatchRule::ZipPath, true, false,
         false},
        {Format::Cab, R"(-x -j -o "A" "W\" *.txt)", "A", R"(W\)", {"*.txt"}, MatchRule::ZipPath, true, true, false},
        {Format::Cab, R"(-x -j -o -i "A" "W\" "M")", "A", R"(W\)", {"M"}, MatchRule::ZipPath, true, false, false},
        // 7z and RAR get ZIP's lines, "--i" included.
        {Format::SevenZip, R"(-x -j -o --i "C:\a b\arc.7z" "C:\app\temp\" *.txt *.DOC)", R"(C:\a b\arc.7z)",
         R"(C:\app\temp\)", {"*.txt", "*.DOC"}, MatchRule::ZipPath, true, false, false},
        {Format::Rar, R"(-x -j -o --i "A.part2.rar" "W\" "doc/sub/guide.chm")", "A.part2.rar", R"(W\)",
         {"doc/sub/guide.chm"}, MatchRule::ZipPath, true, false, false},
    };
    for (const auto& c : cases) {
        arc::ExtractCommand cmd;
        ASSERT_EQ(arc::parseCommandLine(c.line, c.format, &cmd), arc::Status::Ok) << c.line;
        EXPECT_EQ(cmd.archive, c.archive) << c.line;
        EXPECT_EQ(cmd.outputFolder, c.folder) << c.line;
        EXPECT_EQ(cmd.patterns, c.patterns) << c.line;
        EXPECT_EQ(cmd.rule, c.rule) << c.line;
        EXPECT_EQ(cmd.overwrite, c.overwrite) << c.line;
        EXPECT_EQ(cmd.showProgress, c.progress) << c.line;
        EXPECT_EQ(cmd.restoreAttributes, c.attributes) << c.line;
    }
}

TEST(CommandLine, LzhSwitchesAnywhereAndSlashForm) {
    arc::ExtractCommand cmd;
    ASSERT_EQ(arc::parseCommandLine("e /y arc.lzh /n out\\ /p a.txt", Format::Lzh, &cmd), arc::Status::Ok);
    EXPECT_EQ(cmd.archive, "arc.lzh");
    EXPECT_EQ(cmd.outputFolder, "out\\");
    EXPECT_EQ(cmd.patterns, std::vector<std::string>{"a.txt"});
    EXPECT_TRUE(cmd.overwrite);
    EXPECT_FALSE(cmd.showProgress);
    EXPECT_EQ(cmd.rule, MatchRule::LzhWholePath);
    // Once '-' introduces switches, a leading '/' is part of a name.
    ASSERT_EQ(arc::parseCommandLine("E -y arc.lzh /abs/x.txt -n2", Format::Lzh, &cmd), arc::Status::Ok);
    EXPECT_EQ(cmd.patterns, std::vector<std::string>{"/abs/x.txt"});
    EXPECT_FALSE(cmd.showProgress);
    EXPECT_EQ(cmd.outputFolder, "");
    // Without -y nothing is overwritten; -a0 restores no attributes; unknown switches are ignored.
    ASSERT_EQ(arc::parseCommandLine("x -a0 -zz -gm arc.lzh D:", Format::Lzh, &cmd), arc::Status::Ok);
    EXPECT_FALSE(cmd.overwrite);
    EXPECT_FALSE(cmd.restoreAttributes);
    EXPECT_EQ(cmd.outputFolder, "D:");
    EXPECT_TRUE(cmd.showProgress);
}

TEST(CommandLine, ZipClustersNegationAndDefaultCommand) {
    arc::ExtractCommand cmd;
    ASSERT_EQ(arc::parseCommandLine("-xjo arc.zip", Format::Zip, &cmd), arc::Status::Ok);
    EXPECT_TRUE(cmd.overwrite);
    EXPECT_EQ(cmd.archive, "arc.zip");
    EXPECT_TRUE(cmd.patterns.empty());
    ASSERT_EQ(arc::parseCommandLine("-o --o arc.zip x\\ -y.txt", Format::Zip, &cmd), arc::Status::Ok);
    EXPECT_FALSE(cmd.overwrite);
    EXPECT_EQ(cmd.patterns, std::vector<std::string>{"-y.txt"});  // after the archive: a name
    ASSERT_EQ(arc::parseCommandLine("\"my arc.zip\" \"out dir\\\" \"a b.txt\"", Format::Zip, &cmd), arc::Status::Ok);
    EXPECT_EQ(cmd.archive, "my arc.zip");
    EXPECT_EQ(cmd.outputFolder, "out dir\\");
    EXPECT_EQ(cmd.patterns, std::vector<std::string>{"a b.txt"});
}

TEST(CommandLine, RejectsUnknownCommandsAndMissingArchive) {
    const struct {
        Format format;
        const char* line;
        arc::Status expected;
    } cases[] = {
        {Format::Lzh, "a arc.lzh x.txt", arc::Status::CommandName},
        {Format::Lzh, "", arc::Status::CommandName},
        {Format::Lzh, "Q arc.lzh", arc::Status::CommandName},
        {Format::Lzh, "e -y", arc::kStatusNotFindArcFile},
        {Format::Zip, "-l arc.zip", arc::Status::CommandName},
        {Format::Zip, "-x -o", arc::kStatusNotFindArcFile},
        {Format::Cab, "-a arc.cab x.txt", arc::Status::CommandName},
        {Format::Cab, "", arc::kStatusNotFindArcFile},
        {Format::Lzh, "E arc.lzh", arc::Status::Ok},
        {Format::Zip, "arc.zip", arc::Status::Ok},
        {Format::SevenZip, "-l arc.7z", arc::Status::CommandName},
    };
    for (const auto& c : cases) {
        arc::ExtractCommand cmd;
        EXPECT_EQ(arc::parseCommandLine(c.line, c.format, &cmd), c.expected) << c.line;
    }
}

TEST(CommandLine, ZipPasswordSwitch) {
    const struct {
        const char* line;
        const char* password;  // null: none given
        const char* archive;
    } cases[] = {
        {"-x -P secret arc.zip", "secret", "arc.zip"},
        {"-P \"two words\" -o arc.zip", "two words", "arc.zip"},
        {"-PCaseKept arc.zip", "CaseKept", "arc.zip"},
        {"-P -o arc.zip", "-o", "arc.zip"},  // the value is taken whatever it looks like
        {"-P \"\" arc.zip", "", "arc.zip"},
        {"-x -p arc.zip", nullptr, "arc.zip"},  // lower case is not the password switch
        {"-x arc.zip -P pw", nullptr, "arc.zip"},  // after the archive: names
    };
    for (const auto& c : cases) {
        arc::ExtractCommand cmd;
        ASSERT_EQ(arc::parseCommandLine(c.line, Format::Zip, &cmd), arc::Status::Ok) << c.line;
        EXPECT_EQ(cmd.archive, c.archive) << c.line;
        EXPECT_EQ(cmd.password.has_value(), c.password != nullptr) << c.line;
        if (c.password && cmd.password) {
            EXPECT_EQ(*cmd.password, c.password) << c.line;
        }
    }
    // The first switch "-p" is still the pipe command the library does not perform.
    arc::ExtractCommand cmd;
    EXPECT_EQ(arc::parseCommandLine("-p arc.zip", Format::Zip, &cmd), arc::Status::CommandName);
    // CAB has no passwords: "-P" is an unknown switch there.
    ASSERT_EQ(arc::parseCommandLine("-x -P arc.cab", Format::Cab, &cmd), arc::Status::Ok);
    EXPECT_EQ(cmd.archive, "arc.cab");
    EXPECT_FALSE(cmd.password.has_value());
}

TEST(CommandLine, TokenizerKeepsQuotedBlanksAndMarksQuotes) {
    auto t = arc::tokenizeCommandLine("  -y \"a b\"c  \"\"\t\"-n\" ");
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0].text, "-y");
    EXPECT_FALSE(t[0].quoted);
    EXPECT_EQ(t[1].text, "a bc");
    EXPECT_TRUE(t[1].quoted);
    EXPECT_EQ(t[2].text, "");
    EXPECT_EQ(t[3].text, "-n");
    EXPECT_TRUE(t[3].quoted);
}

}  // namespace
