// The link scanner: what counts as a URL or a mail address, the scan bound
// of "HiperLink", a text that arrives in pieces, the runs a click opens.
#include <gtest/gtest.h>

#include <cwchar>

#include <string>
#include <vector>

#include "viewer/text_view/link_scanner.h"

using namespace quibex;

namespace {

struct Mark {
    std::wstring text;
    bool mail;
    bool operator==(const Mark&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Mark& m) {
    std::string narrow;
    for (wchar_t c : m.text) narrow += c < 128 ? static_cast<char>(c) : '?';
    return out << (m.mail ? "mail " : "url ") << narrow;
}

LinkTable Scan(const std::wstring& text, int32_t hiperLink = 1000) {
    LinkTable table;
    LinkFinder finder(LinkScanLimit(hiperLink));
    EXPECT_TRUE(finder.Advance(text.data(), text.size(), true, table));
    return table;
}

std::vector<Mark> Marks(const std::wstring& text, int32_t hiperLink = 1000) {
    LinkTable table = Scan(text, hiperLink);
    std::vector<Mark> marks;
    for (size_t i = 0; i < table.Count(); ++i)
        marks.push_back({text.substr(table[i].start, table[i].end - table[i].start), table[i].mail});
    return marks;
}

using Marks_ = std::vector<Mark>;

TEST(ViewerLinks, UrlsEndAtTheFirstCharacterThatIsNotPartOfOne) {
    struct Case {
        const wchar_t* text;
        Marks_ expected;
    } cases[] = {
        {L"see http://example.com/a?b=1&c=2#top then", {{L"http://example.com/a?b=1&c=2#top", false}}},
        {L"(http://example.com/x) and", {{L"http://example.com/x", false}}},
        {L"\"https://a.b/c\"", {{L"https://a.b/c", false}}},
        {L"http://example.jp/\r次の行", {{L"http://example.jp/", false}}},
        {L"http://example.jp/日本語", {{L"http://example.jp/", false}}},
        {L"「http://example.jp/」", {{L"http://example.jp/", false}}},
        {L"http://a.jp/~x/$y!z*w+v%20|,;:@u", {{L"http://a.jp/~x/$y!z*w+v%20|,;:@u", false}}},
        {L"http://a.jp/x<y>", {{L"http://a.jp/x", false}}},
        {L"http://a.jp/x[1]", {{L"http://a.jp/x", false}}},
        {L"ftp://user@host/path", {{L"ftp://user@host/path", false}}},  // one link, blue
        {L"at the end: http://x.jp", {{L"http://x.jp", false}}},
    };
    for (const Case& c : cases) EXPECT_EQ(Marks(c.text), c.expected) << Mark{c.text, false};
}

TEST(ViewerLinks, MailAddresses) {
    struct Case {
        const wchar_t* text;
        Marks_ expected;
    } cases[] = {
        {L"mail taro.yamada_1-x@example.co.jp please", {{L"taro.yamada_1-x@example.co.jp", true}}},
        {L"write to mailto:taro@example.com now", {{L"mailto:taro@example.com", true}}},
        {L"mailto:a@b", {{L"mailto:a@b", true}}},                        // the prefix at the very start
        {L"taro+tag@example.com", {{L"tag@example.com", true}}},         // "+" ends the local part
        {L"taro@example.com?subject=x", {{L"taro@example.com", true}}},  // no URL punctuation in a mail address
        {L"a@b/c", {{L"a@b", true}}},
        {L"作者：taro@example.jp（連絡先）", {{L"taro@example.jp", true}}},
    };
    for (const Case& c : cases) EXPECT_EQ(Marks(c.text), c.expected) << Mark{c.text, true};
}

TEST(ViewerLinks, ShortestLinksAndRejectedMarkersLetTheScanGoOn) {
    struct Case {
        const wchar_t* text;
        Marks_ expected;
    } cases[] = {
        {L"a@b", {{L"a@b", true}}},           // three characters: a mail address
        {L"x a://b y", {{L"a://b", false}}},  // five characters: a URL
        {L"a:// b@c", {{L"b@c", true}}},      // a letter and "://" alone is no link
        {L"@x ://y a@b", {{L"a@b", true}}},   // nothing before the markers
        {L"x@ y@z", {{L"y@z", true}}},        // nothing after the first
        {L"@@@@ http://q.jp", {{L"http://q.jp", false}}},
        {L"x@", {}},
        {L"ab", {}},
        {L"", {}},
        {L"   \r\r   ", {}},  // blanks only
    };
    for (const Case& c : cases) EXPECT_EQ(Marks(c.text), c.expected) << Mark{c.text, false};
}

TEST(ViewerLinks, HiperLinkBoundsTheScan) {
    // "HiperLink" 1: the scan ends after the first candidate whose scan
    // position passes character 10000; that one is still a link.
    auto textWith = [](std::initializer_list<std::pair<size_t, const wchar_t*>> links) {
        std::wstring text(40000, L' ');
        for (auto [at, link] : links) text.replace(at, wcslen(link), link);
        return text;
    };
    std::wstring crossing = textWith({{5000, L"a@b.jp"}, {9995, L"http://crossing.jp"}, {20000, L"c@d.jp"}});
    EXPECT_EQ(Marks(crossing, 1), (Marks_{{L"a@b.jp", true}, {L"http://crossing.jp", false}}));
    std::wstring beyond = textWith({{5000, L"a@b.jp"}, {20000, L"http://far.jp"}, {30000, L"c@d.jp"}});
    EXPECT_EQ(Marks(beyond, 1), (Marks_{{L"a@b.jp", true}, {L"http://far.jp", false}}));
    EXPECT_EQ(Marks(beyond, 3).size(), 3u);
    EXPECT_EQ(LinkScanLimit(0), 0u);
    EXPECT_EQ(LinkScanLimit(-5), 0u);
    EXPECT_EQ(LinkScanLimit(1000), 10000000u);
    EXPECT_EQ(LinkScanLimit(2147483647), 21474836470000ull) << "no overflow on a 32-bit build";
}

// A text read in pieces gives the links a scan of the whole text gives,
// wherever the pieces are cut.
TEST(ViewerLinks, TextArrivingInPiecesGivesTheSameLinks) {
    const std::wstring text =
        L"a@b http://x.jp/p?q=1 mailto:m@n.jp @ :// z:// y@ taro+t@ex.jp ftp://u@h/p a@b@c "
        L"(https://例.jp) k@l/m http://end.jp/";
    const LinkTable whole = Scan(text);
    ASSERT_GT(whole.Count(), 8u);
    for (size_t piece = 1; piece <= 7; ++piece) {
        LinkTable table;
        LinkFinder finder(LinkScanLimit(1000));
        size_t available = 0;
        while (available < text.size()) {
            available = std::min(text.size(), available + piece);
            finder.Advance(text.data(), available, false, table);
        }
        EXPECT_TRUE(finder.Advance(text.data(), text.size(), true, table));
        ASSERT_EQ(table.Count(), whole.Count()) << "pieces of " << piece;
        for (size_t i = 0; i < table.Count(); ++i) {
            EXPECT_EQ(table[i].start, whole[i].start) << "pieces of " << piece << ", link " << i;
            EXPECT_EQ(table[i].end, whole[i].end) << "pieces of " << piece << ", link " << i;
        }
    }
}

// A click opens the marked run around the pointer: links that touch or
// overlap read as one, and a mail address gets "mailto:" in front.
TEST(ViewerLinks, RunsAndTargets) {
    const std::wstring text = L"a@b@c x http://h.jp/ y";
    LinkTable table = Scan(text);
    ASSERT_EQ(table.Count(), 3u);  // "a@b", "b@c", the URL
    auto runText = [&](size_t pos) {
        auto run = table.RunAt(pos);
        return run ? text.substr(run->start, run->end - run->start) : L"(none)";
    };
    EXPECT_EQ(runText(0), L"a@b@c");
    EXPECT_EQ(runText(4), L"a@b@c");
    EXPECT_EQ(runText(5), L"(none)");
    EXPECT_EQ(runText(8), L"http://h.jp/");
    EXPECT_EQ(runText(19), L"http://h.jp/");
    EXPECT_EQ(runText(20), L"(none)");
    EXPECT_EQ(runText(1000), L"(none)");
    EXPECT_EQ(table.At(2), &table[1]) << "where two overlap the later one's colour shows";
    EXPECT_EQ(table.At(5), nullptr);
    EXPECT_EQ(table.FirstEndingAfter(0), 0u);
    EXPECT_EQ(table.FirstEndingAfter(7), 2u);
    EXPECT_EQ(table.FirstEndingAfter(21), 3u);

    EXPECT_EQ(LinkTarget(L"taro@example.jp"), L"mailto:taro@example.jp");
    EXPECT_EQ(LinkTarget(L"mailto:taro@example.jp"), L"mailto:taro@example.jp");
    EXPECT_EQ(LinkTarget(L"ftp://u@h/p"), L"ftp://u@h/p");
    EXPECT_EQ(LinkTarget(L"http://h.jp/"), L"http://h.jp/");
}

}  // namespace
