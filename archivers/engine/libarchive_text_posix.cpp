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

std::string libarchiveEntryName(archive_entry* entry) {
    const char* name = archive_entry_pathname_utf8(entry);
    if (!name) name = archive_entry_pathname(entry);
    return name ? sanitizeUtf8(name) : std::string();
}

}  // namespace arc
