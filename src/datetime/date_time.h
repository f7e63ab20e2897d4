// CDateTime: an instant (seconds since 1970-01-01 00:00:00 UTC and
// milliseconds) with the calendar fields that show it in UTC or in the
// local time captured with the value. Built on the C runtime's 64-bit time
// functions; instants outside 1970-01-01 to 3000-12-31 UTC are the runtime's
// error value -1 as seconds.
#pragma once

#include <compare>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "datetime/date_span.h"
#include "datetime/date_time_names.h"
#include "datetime/time_span.h"
#include "platform/file_time.h"
#include "platform/perf_timer.h"

namespace velinst {

class CDateTime {
 public:
  // Every form takes the local flag last: with 1 the value shows local time
  // and captures the zone offset and daylight flag from the clock.

  // Seconds, milliseconds, zone and daylight 0.
  explicit CDateTime(std::int32_t local = 0);
  // That moment; the fields are local time when `local` is non-zero, UTC otherwise.
  CDateTime(int year, int month, int day, int hour, int minute, int second, std::int32_t local);
  static CDateTime Now(std::int32_t local = 1);
  // Midnight of that day (month 1-12).
  static CDateTime FromDate(int year, int month, int day, std::int32_t local);
  // That time of day on 1970-01-01.
  static CDateTime FromTimeOfDay(int hour, int minute, int second, std::int32_t local);

  // Calendar fields as the value shows them.
  int Year() const { return fields_.tm_year + 1900; }
  int Month() const { return fields_.tm_mon + 1; }
  int Day() const { return fields_.tm_mday; }
  int Hour() const { return fields_.tm_hour; }
  int Minute() const { return fields_.tm_min; }
  int Second() const { return fields_.tm_sec; }
  std::uint32_t Millisecond() const { return milliseconds_; }
  int DayOfWeek() const { return fields_.tm_wday + 1; }  // Sunday 1
  int DayOfYear() const { return fields_.tm_yday + 1; }

  std::int64_t Seconds() const { return seconds_; }
  std::uint32_t Seconds32() const { return static_cast<std::uint32_t>(seconds_); }
  // Raw: the fields are not recomputed.
  std::int32_t Local() const { return local_; }
  void SetLocal(std::int32_t local) { local_ = local; }
  // Minutes east of UTC (kept as minutes west).
  std::int32_t ZoneOffset() const { return static_cast<std::int32_t>(-std::int64_t{zoneWest_}); }
  void SetZoneOffset(std::int32_t minutesEast);
  // Raw: the fields are not recomputed.
  std::int32_t Daylight() const { return daylight_; }
  void SetDaylight(std::int32_t daylight) { daylight_ = daylight; }

  // Each clears the milliseconds (except where given) and recomputes the fields.
  void SetSeconds(std::uint32_t seconds);
  void SetSeconds(std::int64_t seconds, std::uint32_t milliseconds);
  // yyyymmdd and hhmmss; the other half of the record stays.
  void SetDateNumber(std::int32_t date);
  void SetTimeNumber(std::int32_t time);
  void SetDateAndTimeNumbers(std::int32_t date, std::int32_t time);
  std::int32_t DateNumber() const;
  std::int32_t TimeNumber() const;

  // Neither changes the instant.
  void ToLocal();
  void ToUTC();

  // By seconds, then milliseconds.
  friend bool operator==(const CDateTime& a, const CDateTime& b) {
    return a.seconds_ == b.seconds_ && a.milliseconds_ == b.milliseconds_;
  }
  friend std::strong_ordering operator<=>(const CDateTime& a, const CDateTime& b) {
    if (a.seconds_ != b.seconds_) return a.seconds_ <=> b.seconds_;
    return a.milliseconds_ <=> b.milliseconds_;
  }

  // Calendar arithmetic on the fields; results are whole seconds.
  CDateTime& operator+=(const CDateSpan& span);
  CDateTime& operator-=(const CDateSpan& span);
  CDateTime& operator+=(const CTimeSpan& span);
  CDateTime& operator-=(const CTimeSpan& span);
  friend CDateTime operator+(CDateTime value, const CDateSpan& span) { return value += span; }
  friend CDateTime operator-(CDateTime value, const CDateSpan& span) { return value -= span; }
  friend CDateTime operator+(CDateTime value, const CTimeSpan& span) { return value += span; }
  friend CDateTime operator-(CDateTime value, const CTimeSpan& span) { return value -= span; }
  friend CTimeSpan operator-(const CDateTime& a, const CDateTime& b);

  // Block until this instant (true at once when it has passed), or for a
  // calendar span from now, waking on a whole second of the clock.
  bool SleepUntil() const;
  static bool SleepFor(const CDateSpan& span);

  // The instant of a file time in 100-nanosecond ticks since 1601, keeping
  // this value's local flag and zone. False, leaving the value as it was,
  // when the time cannot be converted or lies outside the valid range.
  bool SetFromFileTime(const FileTime& fileTime);
  bool ToFileTime(FileTime& fileTime) const;

  // A file's creation, last-access and last-write times; false when the file
  // cannot be opened, its times cannot be read or one is out of range.
  static bool GetFileTimes(const char* path, CDateTime& creation, CDateTime& lastAccess, CDateTime& lastWrite);
  bool SetFromCreationTime(const char* path);
  bool SetFromLastAccessTime(const char* path);
  bool SetFromLastWriteTime(const char* path);

  // The runtime's names of the local zone.
  static std::string StandardZoneName();
  static std::string DaylightZoneName();

  // The stopwatch every value carries: Stop and Elapsed give the seconds
  // between start and stop, Running those since the start.
  void StartTimer() { stopwatch_.Start(); }
  double StopTimer() { return stopwatch_.Stop(); }
  double TimerElapsed() const { return stopwatch_.Elapsed(); }
  double TimerRunning() const { return stopwatch_.Running(); }

  void SetDebugTrace(bool on) { debugTrace_ = on; }
  void SetErrorReports(bool on) { errorReports_ = on; }

  std::string Format(std::string_view pattern) const;
  // Replaces the value with the UTC instant read from `input` under `format`.
  // False, leaving the value as it was, when the text does not match.
  bool Parse(std::string_view format, std::string_view input);

  std::string TimeString() const { return Format(kPatternTime12); }
  std::string DateString() const { return Format(kPatternShortDate); }
  static std::string CurrentTimeString() { return Now(1).TimeString(); }
  static std::string CurrentDateString() { return Now(1).DateString(); }

 private:
  void CaptureZone();
  void Refresh();
  // Seconds of the calendar record, read as local time when local is
  // non-zero; a local value then takes the daylight flag in force at that
  // date, so that its fields show the wall-clock time it was given.
  std::int64_t RecordToSeconds(const std::tm& record);
  void SetFromRecord(const std::tm& record);
  void AddToRecord(const CDateSpan& span, int sign);
  void AddTimeSpan(const CTimeSpan& span, int sign);
  void AppendZone(std::string& out, char letter, std::size_t run) const;

  std::int64_t seconds_ = 0;
  std::uint32_t milliseconds_ = 0;
  std::int32_t local_ = 0;
  std::int32_t zoneWest_ = 0;
  std::int32_t daylight_ = 0;
  std::tm fields_{};
  CPerfTimer stopwatch_;
  bool debugTrace_ = false;
  bool errorReports_ = false;
};

}  // namespace velinst
