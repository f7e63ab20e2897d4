// 32-bit sizes that stop at 0xFFFFFFFF instead of wrapping: an installer
// must never read a large disk or folder as a small one.
#pragma once

#include <cstdint>
#include <limits>

namespace velinst {

inline constexpr std::uint32_t kSaturated = std::numeric_limits<std::uint32_t>::max();

constexpr std::uint32_t Saturate(std::uint64_t value) {
  return value > kSaturated ? kSaturated : static_cast<std::uint32_t>(value);
}

constexpr std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) {
  return a > std::numeric_limits<std::uint64_t>::max() - b ? std::numeric_limits<std::uint64_t>::max() : a + b;
}

// The product of three 32-bit factors, saturated to 32 bits.
constexpr std::uint32_t SaturatingProduct(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
  const std::uint64_t ab = std::uint64_t{a} * b;  // cannot overflow 64 bits
  if (ab != 0 && c > kSaturated / ab) return kSaturated;
  return Saturate(ab * c);
}

}  // namespace velinst
