#include "datetime/time_conversions.h"

#include "datetime/civil_calendar.h"
#include "datetime/runtime_time.h"

namespace velinst {
namespace {

constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b < 0 ? 1 : 0); }
constexpr std::int64_t FloorMod(std::int64_t a, std::int64_t b) { return a - FloorDiv(a, b) * b; }

constexpr std::int64_t kLatestDay = kLatestTime / 86400;

// Carries every field into its usual range in 64-bit arithmetic. The
// runtimes would do the same, but some overflow on extreme fields; records
// that lie days outside the valid range are refused before they get there.
bool NormaliseRecord(std::tm& record) {
  std::int64_t second = record.tm_sec;
  std::int64_t minute = record.tm_min + FloorDiv(second, 60);
  std::int64_t hour = record.tm_hour + FloorDiv(minute, 60);
  const std::int64_t dayCarry = FloorDiv(hour, 24);
  const std::int64_t month = record.tm_mon;
  const std::int64_t year = std::int64_t{record.tm_year} + 1900 + FloorDiv(month, 12);
  const std::int64_t days =
      DaysFromCivil(year, static_cast<int>(FloorMod(month, 12)) + 1, 1) + record.tm_mday - 1 + dayCarry;
  // A local record may lie up to a day from its UTC instant.
  if (days < -1 || days > kLatestDay + 1) return false;
  const CivilDate date = CivilFromDays(days);
  record.tm_sec = static_cast<int>(FloorMod(second, 60));
  record.tm_min = static_cast<int>(FloorMod(minute, 60));
  record.tm_hour = static_cast<int>(FloorMod(hour, 24));
  record.tm_mday = date.day;
  record.tm_mon = date.month - 1;
  record.tm_year = static_cast<int>(date.year - 1900);
  return true;
}

std::int64_t Checked(std::int64_t seconds) { return seconds < 0 || seconds > kLatestTime ? kTimeError : seconds; }

}  // namespace

bool UtcRecord(std::int64_t seconds, std::tm& record) {
  if (seconds >= 0 && seconds <= kLatestTime && runtime::GmTime(seconds, record)) return true;
  record.tm_sec = record.tm_min = record.tm_hour = record.tm_mday = record.tm_mon = record.tm_year = -1;
  record.tm_wday = record.tm_yday = record.tm_isdst = -1;
  return false;
}

std::int64_t LocalRecordToTime(const std::tm& record, std::int32_t& daylight) {
  std::tm normal = record;
  if (!NormaliseRecord(normal)) return kTimeError;
  // A flag of 0 would make summer fields standard time, an hour off.
  normal.tm_isdst = -1;
  const std::int64_t seconds = Checked(runtime::MkTime(normal));
  if (seconds != kTimeError) daylight = normal.tm_isdst > 0 ? 1 : 0;
  return seconds;
}

std::int64_t UtcRecordToTime(const std::tm& record) {
  std::tm normal = record;
  return NormaliseRecord(normal) ? Checked(runtime::MkGmTime(normal)) : kTimeError;
}

}  // namespace velinst
