#include <libarchive/archive_entry.h>
#include <locale.h>

#include "libarchive_text.h"
#include "text_codec.h"

namespace arc {

namespace {
// Created once and never freed: uselocale() may hand it to any thread.
locale_t utf8Locale() {
    static locale_t loc = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
        return l ? l : newlocale(LC_CTYPE_MASK, "en_US.UTF-8", static_cast<locale_t>(0));
    }();
    return loc;
}
}  // namespace

LibarchiveTextScope::LibarchiveTextScope() {
    if (locale_t l = utf8Locale()) previous_ = uselocale(l);
}

LibarchiveTextScope::~LibarchiveTextScope() {
    if (previous_) uselocale(static_cast<locale_t>(previous_));
}

// Names RAR stores without its Unicode flag are in the writer's code page:
// UTF-8 from Unix, CP932 from Japanese Windows. libarchive cannot convert the
// latter to UTF-8 and hands over the raw bytes; bytes that are not valid
// UTF-8 are read as CP932.
std::string libarchiveEntryName(archive_entry* entry) {
    if (const char* utf8 = archive_entry_pathname_utf8(entry)) return sanitizeUtf8(utf8);
    const char* raw = archive_entry_pathname(entry);
    if (!raw) return std::string();
    const std::string bytes = raw;
    return sanitizeUtf8(bytes) == bytes ? bytes : cp932ToUtf8(bytes);
}

}  // namespace arc
