// Owner of a kernel handle: closed exactly once, on every path.
#pragma once

#include <windows.h>

#include <utility>

namespace velinst::platform {

class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  ~UniqueHandle() { Reset(); }

  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  explicit operator bool() const { return Valid(); }
  // Closes the handle now; false when CloseHandle reported failure.
  bool Close() { return Reset(); }

 private:
  bool Reset(HANDLE next = nullptr) {
    bool closed = true;
    if (Valid()) closed = ::CloseHandle(handle_) != FALSE;
    handle_ = next;
    return closed;
  }

  HANDLE handle_ = nullptr;
};

}  // namespace velinst::platform
