// Instants as the file system keeps them on every platform: Windows file
// time, 100-nanosecond ticks since 1601-01-01 00:00:00 UTC, in two halves.
#pragma once

#include <cstdint>

namespace velinst {

struct FileTime {
  std::uint32_t lowDateTime = 0;
  std::uint32_t highDateTime = 0;

  static constexpr FileTime FromTicks(std::uint64_t ticks) {
    return FileTime{static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32)};
  }
  constexpr std::uint64_t Ticks() const { return (static_cast<std::uint64_t>(highDateTime) << 32) | lowDateTime; }
};

// Ticks between 1601-01-01 and 1970-01-01, and per second.
inline constexpr std::uint64_t kFileTimeUnixEpoch = 116444736000000000ull;
inline constexpr std::uint64_t kFileTimeTicksPerSecond = 10000000ull;

}  // namespace velinst
