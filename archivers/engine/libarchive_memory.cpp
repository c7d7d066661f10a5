// The allocator libarchive is linked against (its malloc, calloc and realloc
// are renamed to these when the build copies the library; see
// cmake/libarchive_guard.cmake).
//
// libarchive 3.6 sizes some allocations by what a header states before it
// checks the statement against the data: a 7z header stating 50 million
// folders asks for 5 GB and walks all of it on the way out, a RAR block asks
// for 2^63 bytes. A request above kLargestLibarchiveRequest fails here as an
// exhausted heap would, which libarchive already reports as an error. The
// bound sits above what readable archives make it ask for: a RAR 5 window
// (at most 64 MiB in libarchive), a PPMd model (at most 256 MiB in RAR, a
// few hundred MiB in 7z), and a RAR 3 filter whose stated static data
// (filled with zeros past the stream's end) may come close to a gigabyte
// in an archive that extracts correctly all the same.
#include <cerrno>
#include <cstddef>
#include <cstdlib>

#include "libarchive_memory.h"

namespace {

bool refused(size_t bytes) {
    if (bytes <= arc::kLargestLibarchiveRequest) return false;
    errno = ENOMEM;
    return true;
}

}  // namespace

extern "C" {

void* qbx_archive_malloc(size_t bytes) { return refused(bytes) ? nullptr : std::malloc(bytes); }

void* qbx_archive_calloc(size_t count, size_t size) {
    if (size != 0 && count > static_cast<size_t>(-1) / size) {
        errno = ENOMEM;
        return nullptr;
    }
    return refused(count * size) ? nullptr : std::calloc(count, size);
}

void* qbx_archive_realloc(void* block, size_t bytes) {
    return refused(bytes) ? nullptr : std::realloc(block, bytes);
}

}  // extern "C"
