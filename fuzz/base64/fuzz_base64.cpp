// Base64 text from outside: any bytes decode within the stated bounds, and
// any bytes survive a round trip.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/base64.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Exact-size copies, so that reading or writing one byte too far is caught.
  std::vector<char> text(data, data + size);
  std::vector<std::uint8_t> decoded(velinst::Base64DecodedCapacity(size));
  if (velinst::Base64Decode(decoded.data(), text.data(), text.size()) > decoded.size()) __builtin_trap();

  std::vector<char> encoded(velinst::Base64EncodedSize(size));
  velinst::Base64Encode(encoded.data(), data, size);
  if (std::strlen(encoded.data()) + 1 != encoded.size()) __builtin_trap();
  std::vector<std::uint8_t> back(velinst::Base64DecodedCapacity(encoded.size() - 1));
  const std::size_t length = velinst::Base64Decode(back.data(), encoded.data(), encoded.size() - 1);
  if (length != size || (size != 0 && std::memcmp(back.data(), data, size) != 0)) __builtin_trap();
  return 0;
}
