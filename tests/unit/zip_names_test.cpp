// Member names, attributes and header fields as the central directory gives
// them: code-page names with a 0x5C trail byte, the UTF-8 flag, the Unicode
// path extra field and its CRC guard, host-dependent attributes.
#include <gtest/gtest.h>

#include <set>

#include "text_codec.h"
#include "zip_fields.h"
#include "zip_test_kit.h"

namespace {

using ziptest::Bytes;

Bytes unicodePathExtra(const std::string& headerName, const std::string& utf8) {
    Bytes e;
    ziptest::add16(e, 0x7075);
    ziptest::add16(e, static_cast<uint16_t>(5 + utf8.size()));
    e.push_back(1);
    ziptest::add32(e, ziptest::crcOf(ziptest::bytesOf(headerName)));
    ziptest::addBytes(e, ziptest::bytesOf(utf8));
    return e;
}

struct NameCase {
    const char* label;
    std::string raw;  // header bytes
    uint16_t flags;
    uint8_t host;
    Bytes extra;
    std::string want;  // UTF-8
};

// 日本語/テスト.txt in CP932 and UTF-8; 表 and ソ have 0x5C as trail byte.
const std::string kSjisPath = "\x93\xfa\x96\x7b\x8c\xea\\\x83\x65\x83\x58\x83\x67.txt";
const std::string kUtf8Path = "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e/\xe3\x83\x86\xe3\x82\xb9\xe3\x83\x88.txt";

std::vector<NameCase> nameCases() {
    return {
        {"cp932_with_backslash_folders", kSjisPath, 0, 0, {}, kUtf8Path},
        {"cp932_trail_byte_5c_is_not_a_separator", "doc\\\x95\x5c\x83\x5c.txt", 0, 11, {},
         "doc/\xe8\xa1\xa8\xe3\x82\xbd.txt"},
        {"utf8_flag", kUtf8Path, 0x0800, 0, {}, kUtf8Path},
        {"utf8_flag_invalid_byte_replaced", "a\xff.txt", 0x0800, 0, {}, "a\xef\xbf\xbd.txt"},
        {"unicode_path_extra_with_matching_crc", "x\x95\x5c.txt", 0, 0,
         unicodePathExtra("x\x95\x5c.txt", "new/\xe6\x97\xa5.txt"), "new/\xe6\x97\xa5.txt"},
        {"unicode_path_extra_with_stale_crc_ignored", "\x95\x5c.txt", 0, 0,
         unicodePathExtra("renamed.txt", "stale.txt"), "\xe8\xa1\xa8.txt"},
        {"unix_host_unflagged_valid_utf8", kUtf8Path, 0, 3, {}, kUtf8Path},
        {"unix_host_unflagged_cp932", "\x95\x5c.txt", 0, 3, {}, "\xe8\xa1\xa8.txt"},
        // The same bytes from a Windows host are code page text (half-width kana).
        {"fat_host_utf8_looking_bytes_are_cp932", "\xc3\xa9.txt", 0, 0, {}, "\xef\xbe\x83\xef\xbd\xa9.txt"},
    };
}

TEST(ZipNames, DecodeToUtf8WithSlashes) {
    for (const NameCase& c : nameCases()) {
        ziptest::ZipWriter w;
        Bytes data = ziptest::sampleText(1000, 3);
        auto& it = w.add(c.raw, data);
        it.flags = c.flags;
        it.madeBy = static_cast<uint16_t>((c.host << 8) | 20);
        it.centralExtra = c.extra;
        w.add("after.txt", ziptest::sampleText(10, 4));
        auto o = ziptest::openBytes(w.build());
        ASSERT_TRUE(o->archive) << c.label;
        const auto& ms = o->archive->members();
        ASSERT_EQ(ms.size(), 2u) << c.label;
        EXPECT_EQ(ms[0].name, c.want) << c.label;
        EXPECT_EQ(ms[1].name, "after.txt") << c.label;
        fixtures::MemoryTarget t;
        EXPECT_EQ(fixtures::extractAll(*o->archive, t), arc::Status::Ok) << c.label;
        EXPECT_TRUE(t.results[0].data == data) << c.label;
    }
}

struct FieldCase {
    const char* label;
    std::string name;
    uint16_t madeBy;
    uint32_t external;
    uint32_t wantAttributes;
    bool wantFolder;
};

const FieldCase kFieldCases[] = {
    {"dos_read_only_archive", "a.txt", 0x0014, 0x21, 0x21, false},
    {"ntfs_hidden_system", "b.txt", 0x0B3F, 0x26, 0x26, false},
    {"dos_folder", "dir/", 0x0014, 0x10, 0x10, true},
    {"unix_read_only_file", "c.txt", 0x031E, 0100444u << 16, 0x01, false},
    {"unix_folder", "d/", 0x031E, (040755u << 16) | 0x10, 0x10, true},
    {"unix_writable_file", "e.txt", 0x031E, 0100644u << 16, 0x00, false},
};

TEST(ZipNames, AttributesFolderMethodAndCrcFields) {
    for (const FieldCase& c : kFieldCases) {
        ziptest::ZipWriter w;
        Bytes data = c.wantFolder ? Bytes{} : ziptest::sampleText(500, 8);
        auto& it = w.add(c.name, data, c.wantFolder ? 0 : 8);
        it.madeBy = c.madeBy;
        it.external = c.external;
        auto o = ziptest::openBytes(w.build());
        ASSERT_TRUE(o->archive) << c.label;
        const arc::Member& m = o->archive->members()[0];
        EXPECT_EQ(m.attributes, c.wantAttributes) << c.label;
        EXPECT_EQ(m.isFolder, c.wantFolder) << c.label;
        EXPECT_EQ(m.method, c.wantFolder ? "stored" : "deflate") << c.label;
        EXPECT_EQ(m.crc, ziptest::crcOf(data)) << c.label;
        EXPECT_EQ(m.size, data.size()) << c.label;
        EXPECT_EQ(m.dosDate, 0x5A21) << c.label;
        EXPECT_EQ(m.dosTime, 0x6000) << c.label;
        EXPECT_FALSE(m.encrypted) << c.label;
    }
}

// The listing record holds the method in 8 bytes with a terminator.
TEST(ZipNames, MethodLabelsFitTheListingRecord) {
    std::set<std::string> seen;
    for (uint32_t m = 0; m <= 0xFFFF; ++m) {
        std::string label = arc::zip::methodName(static_cast<uint16_t>(m));
        ASSERT_FALSE(label.empty()) << m;
        ASSERT_LE(label.size(), 7u) << m;
        EXPECT_TRUE(seen.insert(label).second) << "duplicate label " << label;
    }
    EXPECT_EQ(arc::zip::methodName(0), "stored");
    EXPECT_EQ(arc::zip::methodName(8), "deflate");
    EXPECT_EQ(arc::zip::methodName(12), "bzip2");
    EXPECT_EQ(arc::zip::methodName(14), "lzma");
}

}  // namespace
