#include <gtest/gtest.h>

#include "wildcard.h"

namespace {

struct MatchCase {
    const char* pattern;
    const char* name;
    bool cross;
    bool expected;
};

TEST(Wildcard, MatchTable) {
    const MatchCase cases[] = {
        {"*.txt", "readme.txt", true, true},
        {"*.txt", "README.TXT", true, true},          // case-insensitive
        {"*.TXT", "doc/a.txt", true, true},           // '*' crosses folders
        {"*.txt", "doc/a.txt", false, false},         // ...unless told not to
        {"*.txt", "readme.txt.bak", true, false},
        {"read?e.txt", "readme.txt", true, true},
        {"read?e.txt", "reade.txt", true, false},     // '?' is exactly one character
        {"doc\\sub\\guide.chm", "doc/sub/guide.chm", true, true},  // '\' == '/'
        {"doc/sub/guide.chm", "doc\\sub\\guide.chm", true, true},
        {"a?b", "a/b", false, false},
        {"*", "", true, true},
        {"", "a", true, false},
        {"*.*", "README", true, true},                // DOS: "*.*" includes names without a dot
        {"readme.*", "readme", true, true},
        {"readme.*", "readme.txt", true, true},
        {"*a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", true, false},
        // Full-width Latin folds like ASCII; Japanese is compared as whole code points.
        {"\xef\xbc\xa1*.txt", "\xef\xbd\x81\xe6\x97\xa5.TXT", true, true},   // Ａ* vs ａ日.TXT
        {"?.txt", "\xe6\x97\xa5.txt", true, true},    // one '?' = one Japanese character
        {"??.txt", "\xe6\x97\xa5.txt", true, false},
        {"\xc3\x89t\xc3\xa9.txt", "\xc3\xa9T\xc3\x89.TXT", true, true},     // Été vs éTÉ
    };
    for (const auto& c : cases)
        EXPECT_EQ(arc::wildcardMatch(c.pattern, c.name, c.cross), c.expected)
            << c.pattern << " vs " << c.name << " cross=" << c.cross;
}

TEST(Wildcard, DecodeReplacesInvalidUtf8) {
    EXPECT_EQ(arc::decodeUtf8("a\xff" "b"), std::u32string(U"a\uFFFDb"));
    EXPECT_EQ(arc::decodeUtf8("\xc0\xaf"), std::u32string(U"\uFFFD\uFFFD"));  // overlong '/'
    EXPECT_EQ(arc::decodeUtf8("\xe6\x97"), std::u32string(U"\uFFFD\uFFFD"));  // cut short
    EXPECT_EQ(arc::encodeUtf8(arc::decodeUtf8("\xf0\x9f\x98\x80x")), "\xf0\x9f\x98\x80x");
}

std::vector<arc::Member> members(std::initializer_list<const char*> names) {
    std::vector<arc::Member> out;
    for (const char* n : names) {
        arc::Member m;
        m.name = n;
        m.isFolder = !m.name.empty() && m.name.back() == '/';
        out.push_back(m);
    }
    return out;
}

std::string selected(const std::vector<arc::Member>& ms, const std::vector<bool>& wanted) {
    std::string out;
    for (size_t i = 0; i < ms.size(); ++i)
        if (wanted[i]) out += (out.empty() ? "" : " ") + ms[i].name;
    return out;
}

struct SelectCase {
    arc::MatchRule rule;
    std::vector<std::string> patterns;
    const char* expected;
};

TEST(WildcardSelect, RulesPerLibrary) {
    const auto ms = members({"readme.txt", "doc/", "doc/a.txt", "doc/sub/guide.chm", "guide.chm", "App/README.TXT",
                             "App/notes.doc"});
    using R = arc::MatchRule;
    const SelectCase cases[] = {
        {R::LzhFileName, {}, "readme.txt doc/ doc/a.txt doc/sub/guide.chm guide.chm App/README.TXT App/notes.doc"},
        {R::LzhFileName, {"*.txt"}, "readme.txt doc/a.txt App/README.TXT"},
        {R::LzhFileName, {"guide.chm"}, "doc/sub/guide.chm guide.chm"},     // last component at any depth
        {R::LzhFileName, {"doc/sub/guide.chm"}, "doc/sub/guide.chm"},       // a path compares the path
        {R::LzhWholePath, {"guide.chm"}, "guide.chm"},                      // -p: whole path only
        {R::LzhWholePath, {"doc\\sub\\guide.chm"}, "doc/sub/guide.chm"},
        {R::ZipPath, {"*.txt"}, "readme.txt doc/a.txt App/README.TXT"},     // '*' crosses folders
        {R::ZipPath, {"guide.chm"}, "guide.chm"},                           // root member found: no deeper search
        {R::ZipPath, {"doc/sub/guide.chm"}, "doc/sub/guide.chm"},
        {R::ZipPath, {"notes.doc"}, "App/notes.doc"},                       // bare name, none at the root
        {R::ZipPath, {"*.txt", "README.TXT", "*.DOC"}, "readme.txt doc/a.txt App/README.TXT App/notes.doc"},
        {R::ZipPath, {"sub/guide.chm"}, ""},                                // has a separator: no deep search
        {R::ZipPath, {"missing.txt"}, ""},
        {R::ZipPath, {"doc"}, "doc/"},
        // Member paths put together from a folder part and a name.
        {R::ZipPath, {"\\guide.chm"}, "guide.chm"},
        {R::ZipPath, {"doc/sub/\\guide.chm"}, "doc/sub/guide.chm"},
        {R::LzhWholePath, {"doc\\sub\\\\guide.chm"}, "doc/sub/guide.chm"},
        {R::ZipPath, {"\\notes.doc"}, "App/notes.doc"},
        {R::ZipPath, {"\\"}, ""},
    };
    for (const auto& c : cases) {
        std::string got = selected(ms, arc::selectMembers(ms, c.patterns, c.rule));
        EXPECT_EQ(got, c.expected) << "rule " << static_cast<int>(c.rule) << " first pattern "
                                   << (c.patterns.empty() ? "(none)" : c.patterns[0]);
    }
}

TEST(WildcardSelect, StoredLeadingSlashIsNotPartOfThePath) {
    const auto ms = members({"/abs/x.txt", "//y.txt"});
    EXPECT_EQ(selected(ms, arc::selectMembers(ms, {"abs/x.txt", "y.txt"}, arc::MatchRule::LzhWholePath)),
              "/abs/x.txt //y.txt");
}

TEST(WildcardSelect, ZipDeepSearchNeedsNoRootMatch) {
    // "readme.txt" exists at the root and deeper: only the root one is meant.
    const auto ms = members({"MyApp/readme.txt", "readme.txt"});
    EXPECT_EQ(selected(ms, arc::selectMembers(ms, {"README.TXT"}, arc::MatchRule::ZipPath)), "readme.txt");
    const auto deep = members({"MyApp/readme.txt", "Other/readme.txt"});
    EXPECT_EQ(selected(deep, arc::selectMembers(deep, {"readme.txt"}, arc::MatchRule::ZipPath)),
              "MyApp/readme.txt Other/readme.txt");
}

TEST(WildcardSelect, SplitPatternsHonoursQuotes) {
    EXPECT_EQ(arc::splitPatterns(" *.txt  \"my file.doc\"\t*.ME \"\" "),
              (std::vector<std::string>{"*.txt", "my file.doc", "*.ME"}));
    EXPECT_TRUE(arc::splitPatterns("   ").empty());
}

}  // namespace
