// CP932 conversions through iconv.
#include <iconv.h>

#include <cerrno>

#include "text_codec.h"

namespace arc {

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

}  // namespace arc
