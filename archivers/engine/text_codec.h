// Conversions between the archive name encodings and UTF-8, the engine's
// internal form. CP932 is the code page of Japanese Windows and of most LZH
// and ZIP names; bytes that do not decode become U+FFFD rather than failing.
#pragma once

#include <string>

namespace arc {

std::string cp932ToUtf8(const std::string& bytes);
// Characters CP932 cannot represent become '?'.
std::string utf8ToCp932(const std::string& utf8);
// Replaces invalid sequences in supposedly UTF-8 text with U+FFFD.
std::string sanitizeUtf8(const std::string& bytes);

}  // namespace arc
