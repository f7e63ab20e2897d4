#include "http/http_buffer.h"

#include <cstring>

namespace velinst::http {
namespace {

constexpr std::size_t kInitialCapacity = 16 * 1024;

}  // namespace

HttpBuffer AllocBuffer(std::size_t length) {
  if (length == static_cast<std::size_t>(-1)) return nullptr;
  return HttpBuffer(static_cast<char*>(std::calloc(length + 1, 1)));
}

char* BodyBuffer::Reserve(std::size_t minimum, std::size_t& room) {
  constexpr std::size_t kLimit = static_cast<std::size_t>(-1) / 4;
  if (size_ > kLimit || minimum > kLimit - size_) return nullptr;
  const std::size_t needed = size_ + minimum + 1;
  if (needed > capacity_) {
    std::size_t capacity = capacity_ == 0 ? kInitialCapacity : capacity_;
    while (capacity < needed) capacity *= 2;
    // realloc moves large blocks by remapping pages, not by copying them.
    char* grown = static_cast<char*>(std::realloc(bytes_.get(), capacity));
    if (grown == nullptr) return nullptr;
    static_cast<void>(bytes_.release());
    bytes_.reset(grown);
    capacity_ = capacity;
  }
  room = capacity_ - size_ - 1;
  return bytes_.get() + size_;
}

HttpBuffer BodyBuffer::Release() {
  std::size_t room = 0;
  if (Reserve(0, room) == nullptr) return nullptr;
  bytes_[size_] = '\0';
  size_ = capacity_ = 0;
  return std::move(bytes_);
}

}  // namespace velinst::http
