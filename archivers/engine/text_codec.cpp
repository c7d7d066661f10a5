#include "text_codec.h"

#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

namespace arc {

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char32_t nextUtf8(std::string_view s, size_t& i) {
    auto b = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
    uint8_t c = b(i);
    size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + len > s.size()) {
        ++i;
        return 0xFFFD;
    }
    char32_t cp = len == 1 ? c : c & (0x7F >> len);
    for (size_t k = 1; k < len; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (b(i + k) & 0x3F);
    }
    static const char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    // Overlong forms and surrogates are replaced byte by byte, like any other
    // invalid sequence, so an overlong "/" can never pass as one character.
    if (cp < minimum[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return 0xFFFD;
    }
    i += len;
    return cp;
}

std::u32string decodeUtf8(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) out += nextUtf8(s, i);
    return out;
}

std::string encodeUtf8(std::u32string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char32_t c : s) appendUtf8(out, c);
    return out;
}

std::string utf16leToUtf8(const uint8_t* p, size_t n) {
    auto unit = [p](size_t i) { return static_cast<char32_t>(p[i] | (p[i + 1] << 8)); };
    std::string out;
    for (size_t i = 0; i + 1 < n; i += 2) {
        char32_t c = unit(i);
        if (c == 0) break;
        if (c >= 0xD800 && c < 0xDC00 && i + 3 < n) {
            char32_t lo = unit(i + 2);
            if (lo >= 0xDC00 && lo < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (lo - 0xDC00);
                i += 2;
            }
        }
        if (c >= 0xD800 && c < 0xE000) c = 0xFFFD;
        appendUtf8(out, c);
    }
    return out;
}

std::string sanitizeUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) appendUtf8(out, nextUtf8(bytes, i));
    return out;
}

#ifdef _WIN32

std::string cp932ToUtf8(const std::string& bytes) {
    if (bytes.empty()) return {};
    int n = MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), w.data(), n);
    int m = WideCharToMultiByte(CP_UTF8, 0, w.data(), n, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(m), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), n, out.data(), m, nullptr, nullptr);
    return out;
}

std::string utf8ToCp932(const std::string& utf8) {
    if (utf8.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
    int m = WideCharToMultiByte(932, 0, w.data(), n, nullptr, 0, "?", nullptr);
    std::string out(static_cast<size_t>(m), '\0');
    WideCharToMultiByte(932, 0, w.data(), n, out.data(), m, "?", nullptr);
    return out;
}

#else

namespace {
// Runs iconv over the whole input; an undecodable byte is replaced by
// `replacement` and skipped so that conversion always finishes.
std::string convert(const char* to, const char* from, const std::string& in, const std::string& replacement) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return in;
    std::string out;
    char buf[1024];
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char* dst = buf;
        size_t dstLeft = sizeof buf;
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf, static_cast<size_t>(dst - buf));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            out += replacement;
            // Skip one input unit: a byte for CP932, a whole character for UTF-8.
            size_t skip = 1;
            if (std::string(from) == "UTF-8") {
                size_t i = static_cast<size_t>(src - in.data());
                size_t j = i;
                nextUtf8(in, j);
                skip = j - i;
            }
            src += skip;
            srcLeft -= skip;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}
}  // namespace

std::string cp932ToUtf8(const std::string& bytes) { return convert("UTF-8", "CP932", bytes, "\xEF\xBF\xBD"); }
std::string utf8ToCp932(const std::string& utf8) { return convert("CP932", "UTF-8", sanitizeUtf8(utf8), "?"); }

#endif

}  // namespace arc
