#include "datetime/system_time.h"

#include "datetime/civil_calendar.h"

namespace velinst {
namespace {

constexpr std::uint64_t kTicksPerMillisecond = 10000;
constexpr std::uint64_t kTicksPerDay = 86400 * kFileTimeTicksPerSecond;
constexpr std::int64_t kDaysFrom1601To1970 = -DaysFromCivil(1601, 1, 1);

constexpr bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

bool FileTimeToUtc(const FileTime& fileTime, SystemTime& utc) {
  const std::uint64_t ticks = fileTime.Ticks();
  if (ticks >> 63 != 0) return false;
  const std::int64_t days = static_cast<std::int64_t>(ticks / kTicksPerDay) - kDaysFrom1601To1970;
  const std::uint64_t ofDay = ticks % kTicksPerDay;
  const std::uint64_t secondOfDay = ofDay / kFileTimeTicksPerSecond;
  const CivilDate date = CivilFromDays(days);
  utc.year = static_cast<std::uint16_t>(date.year);
  utc.month = static_cast<std::uint16_t>(date.month);
  utc.dayOfWeek = static_cast<std::uint16_t>(WeekdayFromDays(days));
  utc.day = static_cast<std::uint16_t>(date.day);
  utc.hour = static_cast<std::uint16_t>(secondOfDay / 3600);
  utc.minute = static_cast<std::uint16_t>(secondOfDay / 60 % 60);
  utc.second = static_cast<std::uint16_t>(secondOfDay % 60);
  utc.milliseconds = static_cast<std::uint16_t>(ofDay % kFileTimeTicksPerSecond / kTicksPerMillisecond);
  return true;
}

bool UtcToFileTime(const SystemTime& utc, FileTime& fileTime) {
  if (utc.year < 1601 || utc.year > 30827 || utc.month < 1 || utc.month > 12 || utc.day < 1 ||
      utc.day > DaysInMonth(utc.year, utc.month) || utc.hour > 23 || utc.minute > 59 || utc.second > 59 ||
      utc.milliseconds > 999)
    return false;
  const std::int64_t days = DaysFromCivil(utc.year, utc.month, utc.day) + kDaysFrom1601To1970;
  const std::uint64_t seconds =
      static_cast<std::uint64_t>(days) * 86400 + utc.hour * 3600u + utc.minute * 60u + utc.second;
  fileTime = FileTime::FromTicks(seconds * kFileTimeTicksPerSecond + utc.milliseconds * kTicksPerMillisecond);
  return true;
}

}  // namespace velinst
