// LZH archive structure: header levels, names, self-extracting stubs, end
// detection, and hostile archives built byte by byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive.h"
#include "lzh_crc16.h"
#include "support/archive_fixtures.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes bytes(const std::string& s) { return Bytes(s.begin(), s.end()); }
void put16(Bytes& b, uint32_t v) { b.push_back(v & 0xFF), b.push_back((v >> 8) & 0xFF); }
void put32(Bytes& b, uint32_t v) { put16(b, v & 0xFFFF), put16(b, v >> 16); }
void append(Bytes& b, const Bytes& more) { b.insert(b.end(), more.begin(), more.end()); }
uint16_t crcOf(const Bytes& b) { return arc::lzhCrc16(0, b.data(), b.size()); }

struct Ext {
    uint8_t type;
    Bytes data;
};

struct MemberLayout {
    int level = 0;
    std::string method = "-lh0-";
    Bytes name = bytes("hello.txt");
    Bytes data = bytes("Hello, world");
    int64_t packed = -1, size = -1;  // -1: the data's length
    int32_t crc = -1;                // -1: the data's CRC
    uint8_t os = 'M';
    std::vector<Ext> ext = {};
    bool headerCrc = true;  // levels 2/3: add the 0x00 extended header
};

Bytes header(const MemberLayout& s) {
    const uint32_t packed = static_cast<uint32_t>(s.packed >= 0 ? s.packed : static_cast<int64_t>(s.data.size()));
    const uint32_t size = static_cast<uint32_t>(s.size >= 0 ? s.size : static_cast<int64_t>(s.data.size()));
    const uint16_t crc = static_cast<uint16_t>(s.crc >= 0 ? s.crc : crcOf(s.data));
    Bytes h;
    if (s.level <= 1) {
        uint32_t extTotal = 0;
        for (auto& e : s.ext) extTotal += static_cast<uint32_t>(e.data.size() + 3);
        h = {0, 0};
        append(h, bytes(s.method));
        put32(h, packed + (s.level == 1 ? extTotal : 0));
        put32(h, size);
        put32(h, 0x5A2B6C00);  // DOS time and date
        h.push_back(0x20);
        h.push_back(static_cast<uint8_t>(s.level));
        h.push_back(static_cast<uint8_t>(s.name.size()));
        append(h, s.name);
        put16(h, crc);
        if (s.level == 1) {
            h.push_back(s.os);
            put16(h, s.ext.empty() ? 0 : static_cast<uint32_t>(s.ext[0].data.size() + 3));
        }
        h[0] = static_cast<uint8_t>(h.size() - 2);
        uint8_t sum = 0;
        for (size_t i = 2; i < h.size(); ++i) sum = static_cast<uint8_t>(sum + h[i]);
        h[1] = sum;
        for (size_t i = 0; i < s.ext.size(); ++i) {
            h.push_back(s.ext[i].type);
            append(h, s.ext[i].data);
            put16(h, i + 1 < s.ext.size() ? static_cast<uint32_t>(s.ext[i + 1].data.size() + 3) : 0);
        }
        return h;
    }
    const bool l3 = s.level == 3;
    const size_t sizeBytes = l3 ? 4 : 2;
    std::vector<Ext> ext = s.ext;
    ext.insert(ext.begin(), {0x01, s.name});
    if (s.headerCrc) ext.insert(ext.begin(), {0x00, {0, 0}});
    auto putSize = [&](Bytes& b, uint32_t v) { l3 ? put32(b, v) : put16(b, v); };
    if (l3) put16(h, 4);
    else put16(h, 0);
    append(h, bytes(s.method));
    put32(h, packed);
    put32(h, size);
    put32(h, 1262304000);  // 2010-01-01 00:00:00 UTC
    h.push_back(0x20);
    h.push_back(static_cast<uint8_t>(s.level));
    put16(h, crc);
    h.push_back(s.os);
    size_t totalAt = h.size();
    if (l3) put32(h, 0);
    putSize(h, static_cast<uint32_t>(ext[0].data.size() + 1 + sizeBytes));
    for (size_t i = 0; i < ext.size(); ++i) {
        h.push_back(ext[i].type);
        append(h, ext[i].data);
        putSize(h, i + 1 < ext.size() ? static_cast<uint32_t>(ext[i + 1].data.size() + 1 + sizeBytes) : 0);
    }
    if (l3) {
        h[totalAt] = static_cast<uint8_t>(h.size()), h[totalAt + 1] = static_cast<uint8_t>(h.size() >> 8);
    } else {
        h[0] = static_cast<uint8_t>(h.size()), h[1] = static_cast<uint8_t>(h.size() >> 8);
    }
    if (s.headerCrc) {
        size_t at = (l3 ? 32 : 26) + 1;
        uint16_t c = crcOf(h);
        h[at] = static_cast<uint8_t>(c), h[at + 1] = static_cast<uint8_t>(c >> 8);
    }
    return h;
}

Bytes member(const MemberLayout& s) {
    Bytes b = header(s);
    append(b, s.data);
    return b;
}

Bytes archiveOf(const std::vector<MemberLayout>& layouts, bool endMarker = true) {
    Bytes b;
    for (auto& s : layouts) append(b, member(s));
    if (endMarker) b.push_back(0);
    return b;
}

struct Opened {
    arc::Status open;
    std::vector<arc::Member> members;
    arc::Status extract = arc::Status::Ok;
    std::map<size_t, fixtures::MemoryTarget::Result> results;
};

Opened run(const Bytes& archive) {
    arc::MemorySource src(archive);
    Opened o;
    auto a = arc::openLzh(src, &o.open);
    if (!a) return o;
    o.members = a->members();
    fixtures::MemoryTarget t;
    o.extract = fixtures::extractAll(*a, t);
    o.results = t.results;
    return o;
}

std::string text(const fixtures::MemoryTarget::Result& r) { return std::string(r.data.begin(), r.data.end()); }

TEST(LzhArchive, EveryHeaderLevelListsAndExtracts) {
    for (int level = 0; level <= 3; ++level) {
        MemberLayout a, b;
        a.level = b.level = level;
        b.name = bytes("second.txt");
        b.data = bytes(std::string(3000, 'q'));
        Opened o = run(archiveOf({a, b}));
        ASSERT_EQ(o.open, arc::Status::Ok) << level;
        ASSERT_EQ(o.members.size(), 2u) << level;
        EXPECT_EQ(o.members[0].name, "hello.txt") << level;
        EXPECT_EQ(o.members[0].method, "-lh0-") << level;
        EXPECT_EQ(o.members[0].size, 12u) << level;
        EXPECT_EQ(o.members[0].packedSize, 12u) << level;
        EXPECT_EQ(o.members[0].crc, crcOf(a.data)) << level;
        EXPECT_EQ(o.members[1].name, "second.txt") << level;
        EXPECT_EQ(o.extract, arc::Status::Ok) << level;
        EXPECT_EQ(text(o.results[0]), "Hello, world") << level;
        EXPECT_EQ(o.results[1].data, b.data) << level;
        if (level == 0) {
            EXPECT_EQ(o.members[0].dosTime, 0x6C00);
            EXPECT_EQ(o.members[0].dosDate, 0x5A2B);
        } else if (level >= 2) {
            EXPECT_EQ(o.members[0].dosDate, (30 << 9) | (1 << 5) | 1) << level;  // 2010-01-01
        }
    }
}

TEST(LzhArchive, NamesDecodeToUtf8WithSlashes) {
    const std::string hyo = "\xe8\xa1\xa8";  // U+8868, CP932 0x95 0x5C: its trail byte is '\'
    auto utf16 = [](const std::u16string& s) {
        Bytes b;
        for (char16_t c : s) put16(b, c);
        return b;
    };
    struct Case {
        const char* what;
        MemberLayout layout;
        std::string name;
        bool folder;
    } cases[] = {
        {"level0_backslash_and_cp932_trail_5c", {.name = bytes("\x95\x5C\\\x95\x5C.txt")}, hyo + "/" + hyo + ".txt",
         false},
        {"level0_comment_after_nul", {.name = bytes(std::string("a.txt\0Amiga comment", 19))}, "a.txt", false},
        {"level1_folder_ext_ff_separators",
         {.level = 1, .name = bytes("f.txt"), .ext = {{0x02, bytes("d1\xFF" "d2\xFF")}}}, "d1/d2/f.txt", false},
        {"level2_folder_entry",
         {.level = 2, .method = "-lhd-", .name = {}, .data = {}, .ext = {{0x02, bytes("top\xFFsub\xFF")}}},
         "top/sub", true},
        {"level2_unicode_name", {.level = 2, .ext = {{0x44, utf16(u"\u65e5\u672c.txt")}}},
         "\xe6\x97\xa5\xe6\x9c\xac.txt", false},
        {"level3_shift_jis_name", {.level = 3, .name = bytes("\x93\xfa\x96\x7b.txt")},
         "\xe6\x97\xa5\xe6\x9c\xac.txt", false},
        {"level1_symlink", {.level = 1, .method = "-lhd-", .name = bytes("link|target"), .data = {}}, "link", true},
    };
    for (auto& c : cases) {
        Opened o = run(archiveOf({c.layout}));
        ASSERT_EQ(o.open, arc::Status::Ok) << c.what;
        ASSERT_EQ(o.members.size(), 1u) << c.what;
        EXPECT_EQ(o.members[0].name, c.name) << c.what;
        EXPECT_EQ(o.members[0].isFolder, c.folder) << c.what;
    }
}

TEST(LzhArchive, AttributeAnd64BitSizeExtensions) {
    MemberLayout s{.level = 2};
    Bytes sizes;
    put32(sizes, 12), put32(sizes, 0), put32(sizes, 12), put32(sizes, 0);
    s.ext = {{0x40, {0x21, 0x00}}, {0x42, sizes}};
    s.packed = s.size = 0;  // the 32-bit fields are superseded
    Opened o = run(archiveOf({s}));
    ASSERT_EQ(o.members.size(), 1u);
    EXPECT_EQ(o.members[0].attributes, 0x21u);
    EXPECT_EQ(o.members[0].size, 12u);
    EXPECT_EQ(text(o.results[0]), "Hello, world");
}

TEST(LzhArchive, FindsTheArchiveBehindAStubWithDecoys) {
    Bytes stub(5000, 0x90);
    const std::string decoy = "xx-lh5-";  // a method name with no valid header around it
    std::copy(decoy.begin(), decoy.end(), stub.begin() + 100);
    Bytes fake = header(MemberLayout{});
    fake[1] ^= 0x55;  // a complete header whose checksum is wrong
    std::copy(fake.begin(), fake.end(), stub.begin() + 1000);
    Bytes a = stub;
    append(a, archiveOf({MemberLayout{}}));
    Opened o = run(a);
    ASSERT_EQ(o.open, arc::Status::Ok);
    ASSERT_EQ(o.members.size(), 1u);
    EXPECT_EQ(text(o.results[0]), "Hello, world");
    arc::MemorySource src(a);
    EXPECT_TRUE(arc::looksLikeLzh(src));
    arc::MemorySource stubOnly(stub);
    EXPECT_FALSE(arc::looksLikeLzh(stubOnly));
}

TEST(LzhArchive, ArchiveEndsAtMarkerEofOrPadding) {
    Bytes base = archiveOf({MemberLayout{}, MemberLayout{.name = bytes("b.txt")}}, false);
    struct Case {
        const char* what;
        Bytes tail;
    } cases[] = {{"end_marker", {0}},
                 {"no_end_marker", {}},
                 {"cpm_padding_after_marker", Bytes{0, 0x1A, 0x1A, 0x1A}},
                 {"cpm_padding_without_marker", Bytes(100, 0x1A)},
                 {"short_garbage", bytes("xyz")}};
    for (auto& c : cases) {
        Bytes a = base;
        append(a, c.tail);
        Opened o = run(a);
        ASSERT_EQ(o.open, arc::Status::Ok) << c.what;
        EXPECT_EQ(o.members.size(), 2u) << c.what;
        EXPECT_EQ(o.extract, arc::Status::Ok) << c.what;
    }
}

// Hostile archives: each must end in a clean, specific status.
TEST(LzhHostile, DamagedArchivesGiveCleanStatus) {
    auto withByte = [](Bytes b, size_t at, uint8_t v) {
        b[at] = v;
        return b;
    };
    Bytes good = archiveOf({MemberLayout{}, MemberLayout{.name = bytes("b.txt")}});
    Bytes l2 = archiveOf({MemberLayout{.level = 2}});
    Bytes hugeChain;
    {
        MemberLayout s{.level = 2, .headerCrc = false};
        for (int i = 0; i < 20000; ++i) s.ext.push_back({0x7E, {}});  // 3 bytes each: 60 KB of headers
        hugeChain = archiveOf({s});
    }
    Bytes pastEof = archiveOf({MemberLayout{.level = 2}});
    pastEof[0] = 0xFF, pastEof[1] = 0xFF;
    Bytes l3Huge = archiveOf({MemberLayout{.level = 3}});
    l3Huge[24] = l3Huge[25] = l3Huge[26] = l3Huge[27] = 0xFF;
    struct Case {
        const char* fault;
        Bytes archive;
        arc::Status open, extract;
    } cases[] = {
        {"header_checksum_wrong", withByte(good, 1, good[1] ^ 1), arc::Status::HeaderCrc, arc::Status::Ok},
        {"level2_header_crc_wrong", withByte(l2, 27, l2[27] ^ 1), arc::Status::HeaderCrc, arc::Status::Ok},
        {"unknown_header_level", withByte(good, 20, 7), arc::Status::UnknownLevel, arc::Status::Ok},
        {"level2_size_past_eof", pastEof, arc::Status::UnexpectedEof, arc::Status::Ok},
        {"level3_size_absurd", l3Huge, arc::Status::HeaderBroken, arc::Status::Ok},
        {"level2_huge_ext_chain", hugeChain, arc::Status::HeaderBroken, arc::Status::Ok},
    };
    for (auto& c : cases) {
        Opened o = run(c.archive);
        EXPECT_EQ(o.open, c.open) << c.fault;
        EXPECT_TRUE(o.members.empty()) << c.fault;
    }
}

TEST(LzhHostile, BadMembersFailAloneAndLaterMembersStillExtract) {
    MemberLayout ok1{.name = bytes("ok1.txt")};
    MemberLayout ok2{.level = 1, .name = bytes("ok2.txt")};
    struct Case {
        const char* fault;
        MemberLayout bad;
        arc::Status want;
    } cases[] = {
        {"data_crc_wrong", MemberLayout{.crc = 0x1234}, arc::Status::FileCrc},
        {"stored_sizes_disagree", MemberLayout{.size = 5}, arc::Status::BrokenData},
        {"pm2_garbage", MemberLayout{.method = "-pm2-"}, arc::Status::BrokenData},
        {"unknown_method", MemberLayout{.method = "-lh9-"}, arc::Status::Method},
        {"lhark_lh7", MemberLayout{.level = 1, .method = "-lh7-", .os = ' '}, arc::Status::Method},
        {"lh5_garbage", MemberLayout{.method = "-lh5-", .data = Bytes(40, 0xFF), .size = 1000}, arc::Status::BrokenData},
    };
    for (auto& c : cases) {
        Opened o = run(archiveOf({ok1, c.bad, ok2}));
        ASSERT_EQ(o.open, arc::Status::Ok) << c.fault;
        ASSERT_EQ(o.members.size(), 3u) << c.fault;
        EXPECT_EQ(o.results[0].status, arc::Status::Ok) << c.fault;
        EXPECT_EQ(o.results[1].status, c.want) << c.fault;
        EXPECT_EQ(o.results[2].status, arc::Status::Ok) << c.fault;
        EXPECT_EQ(text(o.results[2]), "Hello, world") << c.fault;
        EXPECT_EQ(o.extract, c.want) << c.fault;
    }
}

TEST(LzhHostile, TruncatedArchiveReportsUnexpectedEof) {
    MemberLayout big{.data = Bytes(5000, 'x')};
    Bytes a = archiveOf({big});
    a.resize(a.size() - 2000);
    Opened o = run(a);
    ASSERT_EQ(o.open, arc::Status::Ok);
    EXPECT_EQ(o.results[0].status, arc::Status::UnexpectedEof);
    EXPECT_EQ(o.extract, arc::Status::UnexpectedEof);

    // Cut inside the second header: the first member stays usable and the
    // damage is still reported.
    Bytes two = archiveOf({MemberLayout{}, MemberLayout{.name = bytes("b.txt")}});
    two.resize(member(MemberLayout{}).size() + 25);
    o = run(two);
    ASSERT_EQ(o.open, arc::Status::Ok);
    ASSERT_EQ(o.members.size(), 1u);
    EXPECT_EQ(text(o.results[0]), "Hello, world");
    EXPECT_EQ(o.extract, arc::Status::UnexpectedEof);
}

TEST(LzhHostile, MemberClaimingFourGigabytesInATinyFile) {
    struct Case {
        const char* fault;
        MemberLayout layout;
        arc::Status want;
    } cases[] = {
        {"packed_4g_stored", MemberLayout{.packed = 0xFFFFFFFF, .size = 0xFFFFFFFF}, arc::Status::TooBig},
        {"packed_4g_lh5", MemberLayout{.method = "-lh5-", .packed = 0xFFFFFFFF, .size = 100}, arc::Status::TooBig},
        // A small packed size with a 4 GiB promise: decoding runs out of input.
        {"size_4g_lh5", MemberLayout{.method = "-lh5-", .data = Bytes(150, 0), .size = 0xFFFFFFFF},
         arc::Status::UnexpectedEof},
    };
    for (auto& c : cases) {
        Bytes a = archiveOf({c.layout});
        ASSERT_LT(a.size(), 250u);
        Opened o = run(a);
        ASSERT_EQ(o.open, arc::Status::Ok) << c.fault;
        EXPECT_EQ(o.results[0].status, c.want) << c.fault;
        // Zero-bit codes let 150 bytes expand a lot, but nowhere near the claim.
        EXPECT_LT(o.results[0].data.size(), 64u << 20) << c.fault;
    }
}

// A target that refuses writes for one member (disk full) and records the
// order in which members were offered.
class FailingTarget : public arc::ExtractTarget {
public:
    struct Sink : arc::OutputSink {
        bool fail = false;
        size_t bytes = 0;
        bool write(const uint8_t*, size_t n) override {
            bytes += n;
            return !fail;
        }
    };
    size_t failIndex;
    std::vector<size_t> begun;
    std::map<size_t, arc::Status> ended;
    std::map<size_t, Sink> sinks;
    explicit FailingTarget(size_t fail) : failIndex(fail) {}
    arc::OutputSink* begin(size_t i) override {
        begun.push_back(i);
        sinks[i].fail = i == failIndex;
        return &sinks[i];
    }
    void end(size_t i, arc::Status st) override { ended[i] = st; }
};

TEST(LzhArchive, OnlyWantedMembersInOrderAndSinkFailureIsCannotWrite) {
    MemberLayout a{.name = bytes("a.txt")}, b{.name = bytes("b.txt"), .data = Bytes(70000, 'b')},
        c{.name = bytes("c.txt")};
    Bytes bytesOut = archiveOf({a, b, c});
    arc::MemorySource src(bytesOut);
    arc::Status st;
    auto archive = arc::openLzh(src, &st);
    ASSERT_TRUE(archive);
    FailingTarget t(1);
    EXPECT_EQ(archive->extract({false, true, true}, t), arc::Status::CannotWrite);
    EXPECT_EQ(t.begun, (std::vector<size_t>{1, 2}));
    EXPECT_EQ(t.ended[1], arc::Status::CannotWrite);
    EXPECT_EQ(t.ended[2], arc::Status::Ok);
    EXPECT_EQ(t.sinks[2].bytes, 12u);
}

TEST(LzhArchive, NotAnArchive) {
    for (const Bytes& b : {Bytes{}, Bytes(1000, 0), bytes("plain text mentioning -lh5- somewhere"), Bytes(10, 0x1A)}) {
        arc::MemorySource src(b);
        arc::Status st = arc::Status::Ok;
        EXPECT_EQ(arc::openLzh(src, &st), nullptr);
        EXPECT_EQ(st, arc::Status::NotArcFile);
        EXPECT_FALSE(arc::looksLikeLzh(src));
    }
}

}  // namespace
