#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <iterator>

#include "e2e/png.h"

namespace {

std::uint32_t be32(const std::vector<std::uint8_t>& b, size_t at) {
  return (std::uint32_t(b[at]) << 24) | (std::uint32_t(b[at + 1]) << 16) | (std::uint32_t(b[at + 2]) << 8) | b[at + 3];
}

struct Chunk {
  std::string type;
  std::vector<std::uint8_t> data;
};

// Splits a PNG into chunks, checking the signature and every CRC on the way.
std::vector<Chunk> parseChunks(const std::vector<std::uint8_t>& png) {
  std::vector<Chunk> chunks;
  const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  EXPECT_GE(png.size(), sizeof signature);
  if (png.size() < sizeof signature || !std::equal(std::begin(signature), std::end(signature), png.begin())) {
    ADD_FAILURE() << "bad signature";
    return chunks;
  }
  size_t at = sizeof signature;
  while (at + 12 <= png.size()) {
    const std::uint32_t len = be32(png, at);
    if (len > png.size() - at - 12) {
      ADD_FAILURE() << "chunk overruns the file";
      return chunks;
    }
    Chunk c;
    c.type.assign(png.begin() + at + 4, png.begin() + at + 8);
    c.data.assign(png.begin() + at + 8, png.begin() + at + 8 + len);
    const uLong crc = crc32(0L, png.data() + at + 4, len + 4);
    EXPECT_EQ(be32(png, at + 8 + len), crc) << c.type;
    chunks.push_back(std::move(c));
    at += 12 + len;
  }
  EXPECT_EQ(at, png.size()) << "trailing bytes";
  return chunks;
}

TEST(E2eDriverPng, EncodesRgbRowsWithFilterBytes) {
  e2e::Image image;
  image.width = 3;
  image.height = 2;
  for (int i = 0; i < 18; ++i) image.rgb.push_back(static_cast<std::uint8_t>(i * 13 + 1));
  const auto png = e2e::encodePng(image);
  const auto chunks = parseChunks(png);
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_EQ(chunks[0].type, "IHDR");
  EXPECT_EQ(chunks[1].type, "IDAT");
  EXPECT_EQ(chunks[2].type, "IEND");
  EXPECT_TRUE(chunks[2].data.empty());

  const std::vector<std::uint8_t> header{0, 0, 0, 3, 0, 0, 0, 2, 8, 2, 0, 0, 0};
  EXPECT_EQ(chunks[0].data, header);

  std::vector<std::uint8_t> raw(64);
  uLongf rawSize = raw.size();
  ASSERT_EQ(uncompress(raw.data(), &rawSize, chunks[1].data.data(), chunks[1].data.size()), Z_OK);
  raw.resize(rawSize);
  std::vector<std::uint8_t> expected;
  for (int y = 0; y < 2; ++y) {
    expected.push_back(0);
    expected.insert(expected.end(), image.rgb.begin() + y * 9, image.rgb.begin() + y * 9 + 9);
  }
  EXPECT_EQ(raw, expected);
}

TEST(E2eDriverPng, PixelReadsRgbAndRejectsOutside) {
  e2e::Image image;
  image.width = 2;
  image.height = 1;
  image.rgb = {0x12, 0x34, 0x56, 0xAB, 0xCD, 0xEF};
  EXPECT_EQ(image.pixel(0, 0), 0x123456u);
  EXPECT_EQ(image.pixel(1, 0), 0xABCDEFu);
  EXPECT_EQ(image.pixel(2, 0), 0u);
  EXPECT_EQ(image.pixel(0, -1), 0u);
}

TEST(E2eDriverPng, MalformedImagesEncodeToNothing) {
  e2e::Image empty;
  EXPECT_TRUE(e2e::encodePng(empty).empty());
  e2e::Image shortPixels;
  shortPixels.width = 2;
  shortPixels.height = 2;
  shortPixels.rgb.assign(11, 0);  // one byte short of 2x2 RGB
  EXPECT_TRUE(e2e::encodePng(shortPixels).empty());
}

}  // namespace
