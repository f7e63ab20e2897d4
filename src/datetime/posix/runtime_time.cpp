#include "datetime/runtime_time.h"

#include <time.h>

#include <cstring>

namespace velinst::runtime {

ClockReading ReadClock() {
  ClockReading reading;
  timespec now{};
  if (::clock_gettime(CLOCK_REALTIME, &now) != 0) return reading;
  ::tzset();
  reading.seconds = now.tv_sec;
  reading.milliseconds = static_cast<std::uint32_t>(now.tv_nsec / 1000000);
  reading.zoneWest = static_cast<std::int32_t>(::timezone / 60);
  // POSIX `daylight` only says that the zone has daylight rules; the Windows
  // flag says that they apply now, which the local record of now tells.
  std::tm local{};
  const time_t seconds = now.tv_sec;
  reading.daylight = ::localtime_r(&seconds, &local) != nullptr && local.tm_isdst > 0 ? 1 : 0;
  return reading;
}

bool GmTime(std::int64_t seconds, std::tm& fields) {
  const time_t value = static_cast<time_t>(seconds);
  return ::gmtime_r(&value, &fields) != nullptr;
}

std::int64_t MkTime(std::tm& fields) { return ::mktime(&fields); }

std::int64_t MkGmTime(std::tm& fields) { return ::timegm(&fields); }

std::string ZoneName(int index) {
  ::tzset();
  const char* name = ::tzname[index == 0 ? 0 : 1];
  // The runtime's name buffer holds 128 bytes with its terminator.
  return name != nullptr ? std::string(name, ::strnlen(name, 127)) : std::string();
}

}  // namespace velinst::runtime
