#include "random_bytes.h"

#include <sys/random.h>

#include <cerrno>
#include <stdexcept>
#include <vector>

namespace velinst::service {

void FillRandom(std::uint8_t* data, std::size_t length) {
  while (length > 0) {
    const ssize_t got = getrandom(data, length, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error("no random bytes");
    }
    data += got;
    length -= static_cast<std::size_t>(got);
  }
}

std::string RandomHex(std::size_t length) {
  static const char kDigits[] = "0123456789abcdef";
  std::vector<std::uint8_t> bytes(length);
  FillRandom(bytes.data(), bytes.size());
  std::string text;
  text.reserve(length * 2);
  for (const std::uint8_t byte : bytes) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
}

}  // namespace velinst::service
