#include <gtest/gtest.h>

#include <vector>

#include "byte_source.h"
#include "text_codec.h"

namespace {

TEST(ByteSource, SliceClipsToBaseAndOffsetsFromItsStart) {
    std::vector<uint8_t> data{0, 1, 2, 3, 4, 5, 6, 7};
    arc::MemorySource mem(data);
    arc::SliceSource slice(mem, 5, 100);
    EXPECT_EQ(slice.size(), 3u);
    uint8_t buf[4] = {};
    EXPECT_EQ(slice.readAt(1, buf, 4), 2u);
    EXPECT_EQ(buf[0], 6);
    EXPECT_EQ(buf[1], 7);
    EXPECT_EQ(slice.readAt(3, buf, 1), 0u);
}

TEST(ByteSource, SequentialReaderStopsAtWindowEnd) {
    std::vector<uint8_t> data(200000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
    arc::MemorySource mem(data);
    arc::SequentialReader in(mem, 10, 150000);
    std::vector<uint8_t> got(200000);
    EXPECT_EQ(in.read(got.data(), got.size()), 150000u);
    EXPECT_EQ(got[0], data[10]);
    EXPECT_EQ(got[149999], data[150009]);
    uint8_t b;
    EXPECT_FALSE(in.next(b));
    EXPECT_EQ(in.consumed(), 150000u);
}

TEST(TextCodec, Cp932RoundTripAndReplacement) {
    const std::string sjis = "\x93\xfa\x96\x7b\x8c\xea.txt";  // 日本語.txt
    EXPECT_EQ(arc::cp932ToUtf8(sjis), "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e.txt");
    EXPECT_EQ(arc::utf8ToCp932("\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e.txt"), sjis);
    // A table character whose trail byte is '\' survives intact.
    EXPECT_EQ(arc::cp932ToUtf8("\x95\x5c"), "\xe8\xa1\xa8");  // 表
    // Hangul has no CP932 form.
    EXPECT_EQ(arc::utf8ToCp932("a\xed\x95\x9c"), "a?");
    EXPECT_EQ(arc::sanitizeUtf8("a\xff" "b"), "a\xef\xbf\xbd" "b");
}

}  // namespace

#include "support/archive_fixtures.h"

TEST(Fixtures, Md5MatchesKnownDigests) {
    EXPECT_EQ(fixtures::md5Hex({}), "d41d8cd98f00b204e9800998ecf8427e");
    std::string fox = "The quick brown fox jumps over the lazy dog";
    EXPECT_EQ(fixtures::md5Hex(std::vector<uint8_t>(fox.begin(), fox.end())), "9e107d9d372bb6826bd81d3542a419d6");
}
