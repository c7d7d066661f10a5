// Move-only owner of a kernel HANDLE, closed once.
#pragma once

#include <windows.h>

#include <utility>

namespace e2e {

class UniqueHandle {
public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE h) : h_(valid(h) ? h : nullptr) {}
  UniqueHandle(UniqueHandle&& other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.h_, nullptr));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  // The handle, or nullptr when empty.
  HANDLE get() const { return h_; }
  // True when a handle is owned.
  explicit operator bool() const { return h_ != nullptr; }
  // Closes the owned handle and takes h instead.
  void reset(HANDLE h = nullptr) {
    if (h_) CloseHandle(h_);
    h_ = valid(h) ? h : nullptr;
  }

private:
  // Win32 reports failure as either NULL or INVALID_HANDLE_VALUE depending on the API.
  static bool valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  HANDLE h_ = nullptr;
};

}  // namespace e2e
