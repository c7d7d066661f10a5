// Conversions between the archive name encodings and UTF-8, the engine's
// internal form. CP932 is the code page of Japanese Windows and of most LZH
// and ZIP names; bytes that do not decode become U+FFFD rather than failing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace arc {

// UTF-8 primitives. Invalid, overlong and surrogate sequences decode to
// U+FFFD one byte at a time, so decoding never fails.
void appendUtf8(std::string& out, char32_t c);
char32_t nextUtf8(std::string_view s, size_t& i);
std::u32string decodeUtf8(std::string_view s);
std::string encodeUtf8(std::u32string_view s);
// UTF-16LE (as some archive headers store names) up to a NUL; lone surrogates become U+FFFD.
std::string utf16leToUtf8(const uint8_t* p, size_t n);

std::string cp932ToUtf8(const std::string& bytes);
// Characters CP932 cannot represent become '?'.
std::string utf8ToCp932(const std::string& utf8);
// Replaces invalid sequences in supposedly UTF-8 text with U+FFFD.
std::string sanitizeUtf8(const std::string& bytes);

}  // namespace arc
