// A block of memory inside another process, for control messages whose
// pointers Windows does not marshal (tab items, status parts, toolbar buttons).
// Driver and target must both be 32-bit so that structures match.
#pragma once

#include <windows.h>

#include <cstddef>

#include "e2e/handle.h"

namespace e2e {

class RemoteBuffer {
public:
  // Allocates `bytes` of read/write memory in the process owning `window`; ok() tells whether it worked.
  RemoteBuffer(HWND window, std::size_t bytes);
  // Frees the memory in the target.
  ~RemoteBuffer();
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  // True when the block was allocated.
  bool ok() const { return address_ != nullptr; }
  // The block's address as the target sees it, offset by `offset` bytes.
  void* remote(std::size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
  // The block's address as an LPARAM.
  LPARAM lparam(std::size_t offset = 0) const { return reinterpret_cast<LPARAM>(remote(offset)); }
  // Copies bytes into the block at offset; false when out of range or the write fails.
  bool write(const void* data, std::size_t bytes, std::size_t offset = 0);
  // Copies bytes out of the block at offset; false when out of range or the read fails.
  bool read(void* data, std::size_t bytes, std::size_t offset = 0) const;

private:
  UniqueHandle process_;
  void* address_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace e2e
