// The C runtime's 64-bit time functions, as the platform offers them:
// _ftime64_s, _gmtime64_s, _mktime64, _mkgmtime64 and _get_tzname on
// Windows; clock_gettime, gmtime_r, mktime, timegm and tzname on the host.
// Callers go through time_conversions.h, which applies the valid range.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace velinst::runtime {

struct ClockReading {
  std::int64_t seconds = 0;        // since 1970-01-01 00:00:00 UTC
  std::uint32_t milliseconds = 0;  // 0-999
  std::int32_t zoneWest = 0;       // minutes west of UTC of the local standard time
  std::int32_t daylight = 0;       // non-zero while daylight saving time is in effect now
};

ClockReading ReadClock();

// Each returns false (or -1) when the runtime cannot represent the instant.
bool GmTime(std::int64_t seconds, std::tm& fields);
std::int64_t MkTime(std::tm& fields);    // fields in local time
std::int64_t MkGmTime(std::tm& fields);  // fields in UTC

// Index 0: the standard name, 1: the daylight name of the runtime's zone.
std::string ZoneName(int index);

}  // namespace velinst::runtime
