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
inline constexpr std::int64_t kFileTimeUnixEpochSeconds = 11644473600;

// The instant `seconds` and `nanoseconds` after 1970-01-01 UTC. Instants
// before 1601 give 0; those past the end of the range give the last tick.
constexpr FileTime FileTimeFromUnix(std::int64_t seconds, std::uint32_t nanoseconds = 0) {
  if (seconds < -kFileTimeUnixEpochSeconds) return FileTime{};
  const std::uint64_t since1601 = static_cast<std::uint64_t>(seconds + kFileTimeUnixEpochSeconds);
  if (since1601 > (~0ull - kFileTimeTicksPerSecond) / kFileTimeTicksPerSecond) return FileTime::FromTicks(~0ull);
  return FileTime::FromTicks(since1601 * kFileTimeTicksPerSecond + nanoseconds % 1000000000u / 100);
}

// Whole seconds since 1970-01-01 UTC (negative before it), rounded down.
constexpr std::int64_t UnixSeconds(FileTime time) {
  return static_cast<std::int64_t>(time.Ticks() / kFileTimeTicksPerSecond) - kFileTimeUnixEpochSeconds;
}
// The nanoseconds past UnixSeconds(time).
constexpr std::uint32_t UnixNanoseconds(FileTime time) {
  return static_cast<std::uint32_t>(time.Ticks() % kFileTimeTicksPerSecond * 100);
}

}  // namespace velinst
