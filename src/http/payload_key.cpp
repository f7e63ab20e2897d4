#include "http/payload_key.h"

#include <cstdint>

namespace velinst::http {
namespace {

// The two halves, little-endian.
constexpr std::uint32_t kKeyLow = 0x4D79334B;
constexpr std::uint32_t kKeyHigh = 0x72337434;

void AppendLittleEndian(std::string& text, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) text.push_back(static_cast<char>((value >> shift) & 0xFF));
}

}  // namespace

std::string PayloadKeyMaterial() {
  std::string key;
  AppendLittleEndian(key, kKeyLow);
  AppendLittleEndian(key, kKeyHigh);
  return key;
}

}  // namespace velinst::http
