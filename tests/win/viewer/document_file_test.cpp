// The document opener's member paths and help contents names.
#include "actions/document_file.h"

#include <gtest/gtest.h>

using namespace quibex;

namespace {

TEST(ViewerDocumentFile, MemberPaths) {
    EXPECT_EQ(DocumentMemberPath(L"", L"manual.htm"), L"manual.htm");  // a root member goes bare
    EXPECT_EQ(DocumentMemberPath(L"doc\\sub\\", L"guide.chm"), L"doc/sub/guide.chm");
    EXPECT_EQ(DocumentMemberPath(L"説明\\", L"使い方.hlp"), L"説明/使い方.hlp");
}

TEST(ViewerDocumentFile, HelpContentsName) {
    EXPECT_EQ(HelpContentsName(L"MANUAL.HLP"), L"MANUAL.cnt");  // base keeps its case, ".cnt" is lower case
    EXPECT_EQ(HelpContentsName(L"a.hlp"), L"a.cnt");
    EXPECT_EQ(HelpContentsName(L"guide.chm"), L"");
    EXPECT_EQ(HelpContentsName(L"page.htm"), L"");
    EXPECT_EQ(HelpContentsName(L"hlp"), L"");
}

}  // namespace
