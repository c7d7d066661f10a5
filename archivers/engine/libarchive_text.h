// Member names out of libarchive as UTF-8, on each platform by its own route:
// Windows keeps names as UTF-16 inside libarchive; elsewhere libarchive
// converts to the thread's locale, which LibarchiveTextScope makes UTF-8.
#pragma once

#include <string>

struct archive_entry;

namespace arc {

// While alive, libarchive calls on this thread produce UTF-8 text (a no-op
// on Windows). Every use of a libarchive handle happens inside one.
class LibarchiveTextScope {
public:
    LibarchiveTextScope();
    ~LibarchiveTextScope();
    LibarchiveTextScope(const LibarchiveTextScope&) = delete;
    LibarchiveTextScope& operator=(const LibarchiveTextScope&) = delete;

private:
    void* previous_ = nullptr;
};

// The entry's stored path in UTF-8 (invalid sequences become U+FFFD), "" when it has none.
std::string libarchiveEntryName(archive_entry* entry);

}  // namespace arc
