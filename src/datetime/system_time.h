// The kernel's broken-down UTC time and its conversions to and from file
// times: FileTimeToSystemTime and SystemTimeToFileTime on Windows, the same
// rules in arithmetic on the host.
#pragma once

#include <cstdint>

#include "platform/file_time.h"

namespace velinst {

// The fields of the platform's SYSTEMTIME, in its order.
struct SystemTime {
  std::uint16_t year = 0;
  std::uint16_t month = 0;      // 1-12
  std::uint16_t dayOfWeek = 0;  // Sunday 0
  std::uint16_t day = 0;
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  std::uint16_t milliseconds = 0;
};

// False for a file time of 2^63 ticks or more.
bool FileTimeToUtc(const FileTime& fileTime, SystemTime& utc);
// False when a field is out of its range (years 1601 to 30827); the day of
// week is not read.
bool UtcToFileTime(const SystemTime& utc, FileTime& fileTime);

}  // namespace velinst
