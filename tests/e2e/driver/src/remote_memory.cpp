#include "e2e/remote_memory.h"

namespace e2e {

RemoteBuffer::RemoteBuffer(HWND window, std::size_t bytes) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (!pid || bytes == 0) return;
  process_.reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                             FALSE, pid));
  if (!process_) return;
  address_ = VirtualAllocEx(process_.get(), nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (address_) size_ = bytes;
}

RemoteBuffer::~RemoteBuffer() {
  if (address_) VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
}

bool RemoteBuffer::write(const void* data, std::size_t bytes, std::size_t offset) {
  if (!address_ || offset > size_ || bytes > size_ - offset) return false;
  SIZE_T done = 0;
  return WriteProcessMemory(process_.get(), remote(offset), data, bytes, &done) && done == bytes;
}

bool RemoteBuffer::read(void* data, std::size_t bytes, std::size_t offset) const {
  if (!address_ || offset > size_ || bytes > size_ - offset) return false;
  SIZE_T done = 0;
  return ReadProcessMemory(process_.get(), remote(offset), data, bytes, &done) && done == bytes;
}

}  // namespace e2e
