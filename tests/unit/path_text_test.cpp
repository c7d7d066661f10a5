#include <gtest/gtest.h>

#include "core/path_text.h"

namespace {

TEST(PathText, UnquoteRemovesBothQuotesThenOneTrailingBackslash) {
    EXPECT_EQ(quibex::UnquotePath(L"\"C:\\a b\\x.lzh\""), L"C:\\a b\\x.lzh");
    EXPECT_EQ(quibex::UnquotePath(L"\"C:\\dir\\\""), L"C:\\dir");
    EXPECT_EQ(quibex::UnquotePath(L"\"C:\\x.lzh"), L"\"C:\\x.lzh");  // one quote only: left alone
    // Two quoted paths are one path: the outer quotes go, the inner ones stay.
    EXPECT_EQ(quibex::UnquotePath(L"\"C:\\a.lzh\" \"C:\\b.lzh\""), L"C:\\a.lzh\" \"C:\\b.lzh");
    EXPECT_EQ(quibex::UnquotePath(L"\""), L"\"");
}

TEST(PathText, NameAndExtensionFollowTheLastSeparatorAndDot) {
    EXPECT_EQ(quibex::FileNameOf(L"C:\\tmp\\Sample.LZH"), L"Sample.LZH");
    EXPECT_EQ(quibex::FileNameOf(L"C:\\tmp\\"), L"");
    EXPECT_EQ(quibex::FileNameOf(L"Sample.LZH"), L"");
    EXPECT_EQ(quibex::ExtensionOf(L"C:\\tmp\\Sample.LZH"), L"LZH");
    EXPECT_EQ(quibex::ExtensionOf(L"C:\\my.dir\\README"), L"dir\\README");
    EXPECT_EQ(quibex::ExtensionOf(L"C:\\tmp\\noext"), L"");
}

TEST(PathText, RootSplitHandlesDrivesAndUncAndRejectsBareServers) {
    std::wstring root, rest;
    ASSERT_TRUE(quibex::SplitPathRoot(L"C:\\Program Files\\x", root, rest));
    EXPECT_EQ(root, L"C:");
    EXPECT_EQ(rest, L"Program Files\\x");
    ASSERT_TRUE(quibex::SplitPathRoot(L"\\\\srv\\share\\x", root, rest));
    EXPECT_EQ(root, L"\\\\srv");
    EXPECT_EQ(rest, L"share\\x");
    EXPECT_FALSE(quibex::SplitPathRoot(L"\\\\srv", root, rest));
}

}  // namespace
