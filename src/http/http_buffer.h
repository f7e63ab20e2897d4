// A body handed to the caller: at least its length plus one bytes, the byte
// after the body 0.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>

namespace velinst::http {

struct HttpBufferRelease {
  void operator()(char* bytes) const { std::free(bytes); }
};
using HttpBuffer = std::unique_ptr<char[], HttpBufferRelease>;

// A zero-filled buffer of `length` + 1 bytes; null when memory runs out.
HttpBuffer AllocBuffer(std::size_t length);

// Gathers a body of unknown length in linear time: the buffer grows
// geometrically and the transport reads straight into its free end.
class BodyBuffer {
 public:
  // Room for at least `minimum` more bytes and the terminator; null when
  // memory runs out. The room may be larger than asked.
  char* Reserve(std::size_t minimum, std::size_t& room);
  void Commit(std::size_t count) { size_ += count; }
  std::size_t Size() const { return size_; }
  // The terminated body; the buffer is empty afterwards.
  HttpBuffer Release();

 private:
  HttpBuffer bytes_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace velinst::http
