// Name comparison through our upper-case table (see name_case.h).
#include "name_case.h"
#include "text_codec.h"

namespace arc {

int compareFileNames(std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        char32_t ca = fileSystemUpper(nextUtf8(a, i)), cb = fileSystemUpper(nextUtf8(b, j));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return (i < a.size()) - (j < b.size());
}

}  // namespace arc
