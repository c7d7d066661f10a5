#include <gtest/gtest.h>

#include "safe_name.h"

namespace {

TEST(SafeName, HostileNamesTable) {
    const struct {
        const char* member;
        const char* expected;
    } cases[] = {
        {"readme.txt", "readme.txt"},
        {"doc/sub/guide.chm", "guide.chm"},
        {"doc\\sub\\guide.chm", "guide.chm"},
        {"../../evil.txt", "evil.txt"},
        {"/abs/x.txt", "x.txt"},
        {"C:\\x.txt", "x.txt"},
        {"C:x.txt", "x.txt"},                  // drive-relative
        {"a:stream.txt", "stream.txt"},        // looks like a drive: dropped
        {"file.txt:stream", "file.txt_stream"},
        {"CON", "_CON"},
        {"con.txt", "_con.txt"},
        {"aux", "_aux"},
        {"Nul .txt", "_Nul .txt"},
        {"COM1.log", "_COM1.log"},
        {"lpt9", "_lpt9"},
        {"COM10.txt", "COM10.txt"},            // not a device
        {"console.txt", "console.txt"},
        {"a\x01" "b\x1f" "c.txt", "a_b_c.txt"},
        {"tab\there.txt", "tab_here.txt"},
        {"a<b>c\"d|e?f*g.txt", "a_b_c_d_e_f_g.txt"},
        {"trailing. . .", "trailing"},
        {"name.txt  ", "name.txt"},
        {"..", "noname"},
        {".", "noname"},
        {"", "noname"},
        {"dir/", "dir"},
        {"\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e.txt", "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e.txt"},  // 日本語.txt kept
        {"bad\xff.txt", "bad_.txt"},
    };
    for (const auto& c : cases) EXPECT_EQ(arc::safeFileName(c.member), c.expected) << "member: " << c.member;
}

TEST(SafeName, LongNameKeepsExtensionWithinLimit) {
    std::string longName(500, 'a');
    std::string out = arc::safeFileName("x/" + longName + ".txt");
    EXPECT_EQ(out.size(), arc::kMaxNameChars);
    EXPECT_EQ(out.substr(out.size() - 4), ".txt");
    EXPECT_EQ(out.substr(0, 10), "aaaaaaaaaa");
}

TEST(SafeNameUnique, ClashesGetNumberedNamesCaseInsensitively) {
    arc::UniqueNames names;
    EXPECT_EQ(names.claim("readme.txt"), "readme.txt");
    EXPECT_EQ(names.claim("README.TXT"), "README (2).TXT");
    EXPECT_EQ(names.claim("readme.txt"), "readme (3).txt");
    EXPECT_EQ(names.claim("readme (2).txt"), "readme (2) (2).txt");  // taken by the second claim
    EXPECT_EQ(names.claim("Makefile"), "Makefile");
    EXPECT_EQ(names.claim("makefile"), "makefile (2)");
    EXPECT_EQ(names.claim(".profile"), ".profile");
    EXPECT_EQ(names.claim(".profile"), ".profile (2)");
    // Full-width letters fold too: ＡＢ.txt and ａｂ.txt are one name on Windows.
    EXPECT_EQ(names.claim("\xef\xbc\xa1.txt"), "\xef\xbc\xa1.txt");
    EXPECT_EQ(names.claim("\xef\xbd\x81.txt"), "\xef\xbd\x81 (2).txt");
}

}  // namespace

// Pairs a Windows folder takes for one file (the second gets a new name) and
// pairs it keeps apart, compared by the same rule the libraries use there.
TEST(SafeNameUnique, CaseFoldsOverUnicodeLikeTheWindowsFileSystem) {
    struct Pair {
        const char* first;
        const char* second;
        bool sameFile;
    } pairs[] = {
        {"\xd0\x9f\xd0\xa0\xd0\x98\xd0\x92\xd0\x95\xd0\xa2.txt", "\xd0\xbf\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82.txt",
         true},                                                                         // ПРИВЕТ / привет
        {"\xce\xa3\xce\x9f\xce\xa6\xce\x99\xce\x91", "\xcf\x83\xce\xbf\xcf\x86\xce\xb9\xce\xb1", true},  // ΣΟΦΙΑ / σοφια
        {"\xcf\x82.txt", "\xcf\x83.txt", true},                 // final and medial sigma: both Σ
        {"\xc3\x89t\xc3\xa9.txt", "\xc3\xa9T\xc3\x89.txt", true},  // Été / éTÉ
        {"\xc5\xb8.txt", "\xc3\xbf.txt", true},                   // Ÿ (U+0178) / ÿ (U+00FF)
        {"\xef\xbc\xa1\xef\xbc\xa2", "\xef\xbd\x81\xef\xbd\x82", true},  // ＡＢ / ａｂ
        {"\xc3\x9f.txt", "SS.txt", false},                        // ß has no one-letter upper case
        {"\xf0\x90\x90\x80.txt", "\xf0\x90\x90\xa8.txt", false},  // Deseret, outside the BMP: case kept
        {"\xd0\x90.txt", "A.txt", false},                         // Cyrillic А is not Latin A
    };
    for (const Pair& p : pairs) {
        arc::UniqueNames names;
        EXPECT_EQ(names.claim(p.first), p.first);
        std::string second = names.claim(p.second);
        EXPECT_EQ(second != p.second, p.sameFile) << p.first << " / " << p.second << " -> " << second;
        EXPECT_EQ(arc::compareFileNames(p.first, p.second) == 0, p.sameFile) << p.first << " / " << p.second;
    }
    EXPECT_EQ(arc::fileSystemUpper(U'\u0101'), U'\u0100');  // runs with a stride of two
    EXPECT_EQ(arc::fileSystemUpper(U'\u0100'), U'\u0100');
    EXPECT_EQ(arc::fileSystemUpper(U'\u044F'), U'\u042F');  // я
}
