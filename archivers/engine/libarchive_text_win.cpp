#include <libarchive/archive_entry.h>

#include "libarchive_text.h"
#include "text_codec.h"

namespace arc {

LibarchiveTextScope::LibarchiveTextScope() = default;
LibarchiveTextScope::~LibarchiveTextScope() = default;

// The wide form is the one libarchive keeps exactly (7z and RAR store
// UTF-16 or UTF-8; RAR names without the Unicode flag were converted from
// the system code page, CP932 on Japanese Windows).
std::string libarchiveEntryName(archive_entry* entry) {
    if (const wchar_t* w = archive_entry_pathname_w(entry)) {
        std::string bytes;
        for (; *w; ++w) {
            bytes.push_back(static_cast<char>(*w & 0xFF));
            bytes.push_back(static_cast<char>((*w >> 8) & 0xFF));
        }
        return utf16leToUtf8(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    const char* name = archive_entry_pathname_utf8(entry);
    return name ? sanitizeUtf8(name) : std::string();
}

}  // namespace arc
