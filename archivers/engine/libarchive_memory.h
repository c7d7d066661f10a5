// The bound on any one allocation libarchive makes (libarchive_memory.cpp).
#pragma once

#include <cstddef>

namespace arc {

constexpr size_t kLargestLibarchiveRequest = size_t{1} << 30;  // 1 GiB

}  // namespace arc

extern "C" {
void* qbx_archive_malloc(size_t bytes);
void* qbx_archive_calloc(size_t count, size_t size);
void* qbx_archive_realloc(void* block, size_t bytes);
}
