#include "e2e/png.h"

#include <zlib.h>

#include "e2e/files.h"

namespace e2e {
namespace {

void putU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 24));
  out.push_back(static_cast<std::uint8_t>(v >> 16));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v));
}

// Length, type, data, then the CRC-32 of type and data.
void putChunk(std::vector<std::uint8_t>& out, const char (&type)[5], const std::vector<std::uint8_t>& data) {
  putU32(out, static_cast<std::uint32_t>(data.size()));
  const size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0L, out.data() + typeAt, static_cast<uInt>(4 + data.size()));
  putU32(out, static_cast<std::uint32_t>(crc));
}

}  // namespace

std::vector<std::uint8_t> encodePng(const Image& image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.rgb.size() != size_t(image.width) * size_t(image.height) * 3) {
    return {};
  }
  const size_t stride = size_t(image.width) * 3;
  // Each row is preceded by its filter-type byte (0 = none).
  std::vector<std::uint8_t> raw;
  raw.reserve((stride + 1) * image.height);
  for (int y = 0; y < image.height; ++y) {
    raw.push_back(0);
    const auto row = image.rgb.begin() + static_cast<std::ptrdiff_t>(stride * y);
    raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(stride));
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<std::uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 6) != Z_OK) return {};
  packed.resize(packedSize);

  std::vector<std::uint8_t> header;
  putU32(header, static_cast<std::uint32_t>(image.width));
  putU32(header, static_cast<std::uint32_t>(image.height));
  // Bit depth 8, colour type 2 (RGB), deflate, adaptive filtering, no interlace.
  header.insert(header.end(), {8, 2, 0, 0, 0});

  std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  putChunk(png, "IHDR", header);
  putChunk(png, "IDAT", packed);
  putChunk(png, "IEND", {});
  return png;
}

bool writePng(const std::wstring& path, const Image& image) {
  const auto png = encodePng(image);
  return !png.empty() && writeFileBytes(path, std::string_view(reinterpret_cast<const char*>(png.data()), png.size()));
}

}  // namespace e2e
