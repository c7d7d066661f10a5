#include <gtest/gtest.h>

#include "archive/text_selection.h"

namespace {

TEST(TextSelection, ExtensionListsBecomeWildcards) {
    EXPECT_EQ(quibex::ExtensionsToPatterns(L"HLP DOC HTM HTML CHM"), L"*.HLP *.DOC *.HTM *.HTML *.CHM");
    EXPECT_EQ(quibex::ExtensionsToPatterns(L"  DOC    ME  "), L"*.DOC *.ME");
    EXPECT_EQ(quibex::ExtensionsToPatterns(L"   "), L"");
    EXPECT_EQ(quibex::ExtensionsToPatterns(L""), L"");
}

TEST(TextSelection, TextNamesByExtensionOrSubstringOfTxtType) {
    struct Case { const wchar_t* name; const wchar_t* txtType; bool text; };
    const Case cases[] = {
        {L"readme.txt", L"", true},     {L"README.TXT", L"", true},    {L"manual.doc", L"", false},
        {L"manual.doc", L"DOC ME", true}, {L"read.me", L"DOC ME", true}, {L"x.o", L"DOC ME", true},
        {L"Makefile", L"DOC ME", true},   {L"Makefile", L"", false},      {L"a.htm", L"DOC ME", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(quibex::IsTextFileName(c.name, c.txtType), c.text) << testing::PrintToString(std::wstring(c.name));
}

TEST(TextSelection, MemberNamesSplitIntoFolderAndName) {
    EXPECT_EQ(quibex::NamePartOf(L"docs/guide.chm"), L"guide.chm");
    EXPECT_EQ(quibex::FolderPartOf(L"docs/guide.chm"), L"docs");
    EXPECT_EQ(quibex::NamePartOf(L"a/b/c.htm"), L"c.htm");
    EXPECT_EQ(quibex::FolderPartOf(L"a/b/c.htm"), L"a\\b");
    EXPECT_EQ(quibex::NamePartOf(L"x.hlp"), L"x.hlp");
    EXPECT_EQ(quibex::FolderPartOf(L"x.hlp"), L"");
    EXPECT_EQ(quibex::NamePartOf(L"A:stream.txt"), L"stream.txt");
    EXPECT_EQ(quibex::FolderPartOf(L"a\\b\\"), L"a");
}

}  // namespace
