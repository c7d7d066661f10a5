// A minimal PNG encoder: one IHDR, one zlib-compressed IDAT, IEND.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "e2e/screenshot.h"

namespace e2e {

// PNG bytes for an 8-bit RGB image (filter type 0 on every row); empty if the image is malformed.
std::vector<std::uint8_t> encodePng(const Image& image);
// Encodes and writes a PNG file; false on failure.
bool writePng(const std::wstring& path, const Image& image);

}  // namespace e2e
