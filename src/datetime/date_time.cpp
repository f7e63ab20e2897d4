#include "datetime/date_time.h"

#include <limits>

#include "datetime/runtime_time.h"
#include "datetime/span_seconds.h"
#include "datetime/system_time.h"
#include "datetime/time_conversions.h"
#include "platform/cdos.h"

namespace velinst {
namespace {

constexpr int kSecondsPerDay = 86400;
// Beyond this distance from the epoch no zone adjustment can bring an
// instant into the valid range, and none can overflow.
constexpr std::int64_t kFarSeconds = std::int64_t{1} << 40;

bool FitsInt(std::int64_t value) {
  return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}

// A record of the given fields (month 1-12); false when one cannot be held.
bool MakeRecord(std::int64_t year, std::int64_t month, std::int64_t day, std::int64_t hour, std::int64_t minute,
                std::int64_t second, std::tm& record) {
  const std::int64_t values[] = {year - 1900, month - 1, day, hour, minute, second};
  for (const std::int64_t value : values)
    if (!FitsInt(value)) return false;
  record = std::tm{};
  record.tm_year = static_cast<int>(values[0]);
  record.tm_mon = static_cast<int>(values[1]);
  record.tm_mday = static_cast<int>(values[2]);
  record.tm_hour = static_cast<int>(values[3]);
  record.tm_min = static_cast<int>(values[4]);
  record.tm_sec = static_cast<int>(values[5]);
  return true;
}

}  // namespace

CDateTime::CDateTime(std::int32_t local) : local_(local) { Refresh(); }

CDateTime::CDateTime(int year, int month, int day, int hour, int minute, int second, std::int32_t local)
    : local_(local) {
  if (local_ == 1) CaptureZone();
  std::tm record;
  seconds_ = MakeRecord(year, month, day, hour, minute, second, record) ? RecordToSeconds(record) : kTimeError;
  Refresh();
}

CDateTime CDateTime::Now(std::int32_t local) {
  const runtime::ClockReading now = runtime::ReadClock();
  CDateTime value(local);
  value.seconds_ = now.seconds;
  value.milliseconds_ = now.milliseconds;
  if (local == 1) {
    value.zoneWest_ = now.zoneWest;
    value.daylight_ = now.daylight;
  }
  value.Refresh();
  return value;
}

CDateTime CDateTime::FromDate(int year, int month, int day, std::int32_t local) {
  return CDateTime(year, month, day, 0, 0, 0, local);
}

CDateTime CDateTime::FromTimeOfDay(int hour, int minute, int second, std::int32_t local) {
  CDateTime value(local);
  if (local == 1) value.CaptureZone();
  std::tm record;
  value.seconds_ = MakeRecord(1970, 1, 1, hour, minute, second, record) ? value.RecordToSeconds(record) : kTimeError;
  value.Refresh();
  return value;
}

void CDateTime::CaptureZone() {
  const runtime::ClockReading now = runtime::ReadClock();
  zoneWest_ = now.zoneWest;
  daylight_ = now.daylight;
}

// The fields of a local value use the zone captured with it, not the rules
// in force at the instant it holds.
void CDateTime::Refresh() {
  std::int64_t shown = seconds_;
  if (local_ == 1 && shown > -kFarSeconds && shown < kFarSeconds)
    shown += (daylight_ != 0 ? 3600 : 0) - std::int64_t{zoneWest_} * 60;
  UtcRecord(shown, fields_);
}

std::int64_t CDateTime::RecordToSeconds(const std::tm& record) {
  return local_ != 0 ? LocalRecordToTime(record, daylight_) : UtcRecordToTime(record);
}

void CDateTime::SetFromRecord(const std::tm& record) {
  seconds_ = RecordToSeconds(record);
  milliseconds_ = 0;
  Refresh();
}

void CDateTime::SetZoneOffset(std::int32_t minutesEast) {
  zoneWest_ = static_cast<std::int32_t>(-std::int64_t{minutesEast});
  Refresh();
}

void CDateTime::SetSeconds(std::uint32_t seconds) { SetSeconds(std::int64_t{seconds}, 0); }

void CDateTime::SetSeconds(std::int64_t seconds, std::uint32_t milliseconds) {
  seconds_ = seconds;
  milliseconds_ = milliseconds;
  Refresh();
}

void CDateTime::SetDateNumber(std::int32_t date) { SetDateAndTimeNumbers(date, TimeNumber()); }

void CDateTime::SetTimeNumber(std::int32_t time) { SetDateAndTimeNumbers(DateNumber(), time); }

void CDateTime::SetDateAndTimeNumbers(std::int32_t date, std::int32_t time) {
  std::tm record = fields_;
  record.tm_year = date / 10000 - 1900;
  record.tm_mon = date % 10000 / 100 - 1;
  record.tm_mday = date % 100;
  record.tm_hour = time / 10000;
  record.tm_min = time % 10000 / 100;
  record.tm_sec = time % 100;
  SetFromRecord(record);
}

std::int32_t CDateTime::DateNumber() const { return (Year() * 100 + Month()) * 100 + Day(); }

std::int32_t CDateTime::TimeNumber() const { return (Hour() * 100 + Minute()) * 100 + Second(); }

void CDateTime::ToLocal() {
  if (local_ == 1) return;
  local_ = 1;
  CaptureZone();
  Refresh();
}

void CDateTime::ToUTC() {
  if (local_ == 0) return;
  local_ = 0;
  zoneWest_ = 0;
  daylight_ = 0;
  Refresh();
}

// The span goes into the record field by field and the runtime normalises
// the result (January 31 plus a month is March 2 or 3). Milliseconds are
// dropped on both sides.
void CDateTime::AddToRecord(const CDateSpan& span, int sign) {
  const std::tm& f = fields_;
  std::tm record;
  const bool held = MakeRecord(
      f.tm_year + 1900 + std::int64_t{sign} * span.Years(), f.tm_mon + 1 + std::int64_t{sign} * span.Months(),
      f.tm_mday + sign * (std::int64_t{span.Weeks()} * 7 + span.Days()), f.tm_hour + std::int64_t{sign} * span.Hours(),
      f.tm_min + std::int64_t{sign} * span.Minutes(), f.tm_sec + std::int64_t{sign} * span.Seconds(), record);
  if (held)
    SetFromRecord(record);
  else
    SetSeconds(kTimeError, 0);
}

// A time span counts as its whole seconds. They go in as days and seconds,
// which the calendar normalises alike, so that spans beyond 68 years of
// seconds still fit the date span's fields.
void CDateTime::AddTimeSpan(const CTimeSpan& span, int sign) {
  const std::int64_t whole = SpanSeconds::Split(span.Seconds()).whole;
  const std::int64_t days = whole / kSecondsPerDay;
  if (!FitsInt(days)) return SetSeconds(kTimeError, 0);
  AddToRecord(
      CDateSpan(0, 0, 0, static_cast<std::int32_t>(days), 0, 0, static_cast<std::int32_t>(whole % kSecondsPerDay), 0),
      sign);
}

CDateTime& CDateTime::operator+=(const CDateSpan& span) {
  AddToRecord(span, 1);
  return *this;
}

CDateTime& CDateTime::operator-=(const CDateSpan& span) {
  AddToRecord(span, -1);
  return *this;
}

CDateTime& CDateTime::operator+=(const CTimeSpan& span) {
  AddTimeSpan(span, 1);
  return *this;
}

CDateTime& CDateTime::operator-=(const CTimeSpan& span) {
  AddTimeSpan(span, -1);
  return *this;
}

CTimeSpan operator-(const CDateTime& a, const CDateTime& b) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  const bool overflows =
      (b.seconds_ < 0 && a.seconds_ > kMax + b.seconds_) || (b.seconds_ > 0 && a.seconds_ < kMin + b.seconds_);
  const double whole = overflows ? static_cast<double>(a.seconds_) - static_cast<double>(b.seconds_)
                                 : static_cast<double>(a.seconds_ - b.seconds_);
  return CTimeSpan(whole + (static_cast<double>(a.milliseconds_) - static_cast<double>(b.milliseconds_)) / 1000);
}

bool CDateTime::SleepUntil() const {
  const CTimeSpan remaining = *this - Now(1);
  if (remaining.Seconds() < 0) return true;
  return remaining.Sleep();
}

bool CDateTime::SleepFor(const CDateSpan& span) {
  const CDateTime now = Now(1);
  return (now + span - now).Sleep();
}

bool CDateTime::SetFromFileTime(const FileTime& fileTime) {
  SystemTime utc;
  if (!FileTimeToUtc(fileTime, utc)) return false;
  std::tm record;
  if (!MakeRecord(utc.year, utc.month, utc.day, utc.hour, utc.minute, utc.second, record)) return false;
  const std::int64_t seconds = UtcRecordToTime(record);
  if (seconds == kTimeError) return false;
  SetSeconds(seconds, utc.milliseconds);
  return true;
}

bool CDateTime::ToFileTime(FileTime& fileTime) const {
  std::tm utc;
  if (!UtcRecord(seconds_, utc) || milliseconds_ > 0xFFFF) return false;
  const auto field = [](std::int64_t value) { return static_cast<std::uint16_t>(value); };
  const SystemTime time{field(utc.tm_year + 1900), field(utc.tm_mon + 1), field(utc.tm_wday), field(utc.tm_mday),
                        field(utc.tm_hour),        field(utc.tm_min),     field(utc.tm_sec),  field(milliseconds_)};
  return UtcToFileTime(time, fileTime);
}

bool CDateTime::GetFileTimes(const char* path, CDateTime& creation, CDateTime& lastAccess, CDateTime& lastWrite) {
  FileTime times[3];
  if (!CDOS().GetFileTimes(path, &times[0], &times[1], &times[2])) return false;
  const bool creationSet = creation.SetFromFileTime(times[0]);
  const bool accessSet = lastAccess.SetFromFileTime(times[1]);
  return lastWrite.SetFromFileTime(times[2]) && creationSet && accessSet;
}

bool CDateTime::SetFromCreationTime(const char* path) {
  FileTime time;
  return CDOS().GetFileTimes(path, &time, nullptr, nullptr) && SetFromFileTime(time);
}

bool CDateTime::SetFromLastAccessTime(const char* path) {
  FileTime time;
  return CDOS().GetFileTimes(path, nullptr, &time, nullptr) && SetFromFileTime(time);
}

bool CDateTime::SetFromLastWriteTime(const char* path) {
  FileTime time;
  return CDOS().GetFileTimes(path, nullptr, nullptr, &time) && SetFromFileTime(time);
}

std::string CDateTime::StandardZoneName() { return runtime::ZoneName(0); }

std::string CDateTime::DaylightZoneName() { return runtime::ZoneName(1); }

}  // namespace velinst
