#include "datetime/date_time.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>

#include "datetime/time_conversions.h"
#include "platform/cdos.h"
#include "test_support.h"
#include "zone_environment.h"

namespace velinst {
namespace {

using test::ScopedZone;

// "2020-02-29 12:00:00" as a value built from its fields, UTC or local.
CDateTime At(const std::string& text, std::int32_t local = 0) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &year, &month, &day, &hour, &minute, &second);
  return CDateTime(year, month, day, hour, minute, second, local);
}

// The value's fields in the form At reads, with the zone offset when asked.
std::string Show(const CDateTime& value, bool zone = false) {
  char text[112];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", value.Year(), value.Month(), value.Day(),
                value.Hour(), value.Minute(), value.Second());
  return zone ? text + (" " + std::to_string(value.ZoneOffset())) : text;
}

TEST(DateTime, UtcConstructionCoversTheRuntimeRangeAndNoMore) {
  const struct {
    const char* fields;
    std::int64_t seconds;
    int dayOfWeek, dayOfYear;
  } cases[] = {
      {"1970-01-01 00:00:00", 0, 5, 1},  // a Thursday
      {"2020-12-31 23:59:59", 1609459199, 5, 366},
      {"2038-01-19 03:14:08", 2147483648, 3, 19},
      {"3000-12-31 23:59:59", kLatestTime, 4, 365},
      {"3001-01-01 00:00:00", kTimeError, 0, 0},
      {"1969-12-31 23:59:59", kTimeError, 0, 0},
      {"2147483647-01-01 00:00:00", kTimeError, 0, 0},
  };
  for (const auto& c : cases) {
    const CDateTime value = At(c.fields);
    EXPECT_EQ(value.Seconds(), c.seconds) << c.fields;
    EXPECT_EQ(value.Millisecond() + value.Local() + value.ZoneOffset(), 0) << c.fields;
    if (c.seconds == kTimeError) continue;
    EXPECT_EQ(Show(value), c.fields);
    EXPECT_EQ(value.DayOfWeek() * 1000 + value.DayOfYear(), c.dayOfWeek * 1000 + c.dayOfYear) << c.fields;
  }
  CDateTime value;
  value.SetSeconds(std::uint32_t{0xFFFFFFFF});  // 32-bit seconds are unsigned
  EXPECT_EQ(Show(value), "2106-02-07 06:28:15");
}

TEST(DateTime, DateAndTimeNumbersAndComparison) {
  CDateTime value = At("2024-03-05 07:08:09"), earlier, later;
  EXPECT_EQ(value.DateNumber() * 1000000ll + value.TimeNumber(), 20240305070809);
  value.SetDateAndTimeNumbers(20210228, 240000);  // hour 24 rolls over
  EXPECT_EQ(value.Seconds(), At("2021-03-01").Seconds());
  earlier.SetSeconds(1000, 100);
  later.SetSeconds(999, 999);
  EXPECT_TRUE(later < earlier && earlier > later && earlier >= later && earlier != later);
  later.SetSeconds(1000, 100);
  later.ToLocal();  // the zone does not take part
  EXPECT_TRUE(later == earlier);
}

TEST(DateTime, CalendarArithmeticNormalisesThroughTheRuntime) {
  const struct {
    const char* start;
    CDateSpan span;
    int sign;
    const char* expected;
  } cases[] = {
      {"2020-02-29 12:00:00", CDateSpan::FromYears(1), 1, "2021-03-01 12:00:00"},
      {"2021-01-31 00:00:00", CDateSpan::FromMonths(1), 1, "2021-03-03 00:00:00"},
      {"2021-03-31 00:00:00", CDateSpan::FromMonths(1), -1, "2021-03-03 00:00:00"},
      {"2020-03-01 00:00:00", CDateSpan::FromDays(1), -1, "2020-02-29 00:00:00"},
      {"2020-12-31 23:00:00", CDateSpan::FromHours(25), 1, "2021-01-02 00:00:00"},
      {"2020-01-01 00:00:00", CDateSpan(1, 1, 1, 1, 1, 1, 1, 999), 1, "2021-02-09 01:01:01"},
      {"2037-12-31 00:00:00", CDateSpan::FromYears(2), 1, "2039-12-31 00:00:00"},
      {"2100-03-01 00:00:00", CDateSpan::FromDays(1), -1, "2100-02-28 00:00:00"},
  };
  for (const auto& c : cases) {
    CDateTime start = At(c.start);
    start.SetSeconds(start.Seconds(), 250);
    const CDateTime result = c.sign > 0 ? start + c.span : start - c.span;
    EXPECT_EQ(Show(result), c.expected) << c.start << " sign " << c.sign;
    EXPECT_EQ(result.Seconds() * 1000 + result.Millisecond(), At(c.expected).Seconds() * 1000) << c.start;
    EXPECT_EQ(start.Millisecond(), 250u);  // the operand is left alone
  }
}

TEST(DateTime, TimeSpanArithmeticDropsMillisecondsAndKeepsToTheRange) {
  CDateTime value;
  value.SetSeconds(1000, 750);
  const CDateTime plus = value + CTimeSpan(1.5);
  EXPECT_EQ(plus.Seconds() * 1000 + plus.Millisecond(), 1001000);
  EXPECT_EQ((value - CTimeSpan(1.5)).Seconds(), 999);
  EXPECT_NEAR((plus - value).Seconds(), 0.25, 1e-9);  // differences keep milliseconds

  const CDateTime start = At("2000-01-01"), last = At("3000-12-31");
  EXPECT_EQ((start + CTimeSpan(1e10)).Seconds(), start.Seconds() + 10000000000);  // beyond 32 bits of seconds
  for (const CDateTime& outside :
       {start + CTimeSpan(1e12), start + CTimeSpan(1e300), last + CDateSpan::FromDays(1),
        At("1970-01-01") - CDateSpan::FromSeconds(1), last + CDateSpan::FromYears(2147483647),
        last - CDateSpan::FromDays(-2147483647 - 1)})
    EXPECT_EQ(outside.Seconds(), kTimeError);
  const CDateTime error = last + CDateSpan::FromYears(5);
  EXPECT_EQ(error.Year(), 1899);  // every field of the record is -1
  EXPECT_EQ((error + CDateSpan::FromDays(1)).Seconds(), kTimeError);
}

TEST(DateTime, LocalValueKeepsTheZoneItCapturedAndTheInstant) {
  const CDateTime utc = At("2020-07-01 05:00:00");
  CDateTime value;
  {
    const ScopedZone zone(test::kZoneFiveWest);
    value = CDateTime::FromDate(2020, 7, 1, 1);
    EXPECT_EQ(CDateTime::Now(1).ZoneOffset(), -300);
  }
  EXPECT_EQ(value.Seconds(), utc.Seconds());
  EXPECT_EQ(value.ZoneOffset() * 10 + value.Daylight(), -3000);
  const ScopedZone elsewhere(test::kZoneFiveThirtyEast);
  value.SetSeconds(value.Seconds(), 321);  // refresh with the zone it holds
  value.ToLocal();                         // already local: keeps it
  EXPECT_EQ(Show(value, true), "2020-07-01 00:00:00 -300");
  value.ToUTC();
  EXPECT_EQ(Show(value, true), "2020-07-01 05:00:00 0");
  value.ToLocal();  // captures the zone in force now
  EXPECT_EQ(Show(value, true), "2020-07-01 10:30:00 330");
  EXPECT_EQ(value.Seconds() * 1000 + value.Millisecond(), utc.Seconds() * 1000 + 321);
  value.SetDaylight(1);
  value.SetSeconds(value.Seconds(), 0);
  EXPECT_EQ(value.Hour(), 11);  // the flag moves the local fields on an hour
}

// POSIX `daylight` only says that a zone has daylight rules; the flag a
// value captures says that they apply now, as the runtime's local time does.
TEST(DateTime, DaylightFlagSaysWhetherDaylightSavingAppliesNow) {
  const std::time_t now = std::time(nullptr);
  const int today = std::gmtime(&now)->tm_yday;  // 0-365
  const std::string halfAYearAway =
      "XST5XDT,J" + std::to_string((today + 180) % 365 + 1) + ",J" + std::to_string((today + 181) % 365 + 1);
  for (const std::string& rules : {halfAYearAway, std::string("XST5XDT,J1/0,J365/25")}) {
    SCOPED_TRACE(rules);
    const ScopedZone zone(rules.c_str());
    const CDateTime value = CDateTime::Now(1);
    const std::time_t instant = static_cast<std::time_t>(value.Seconds());
    EXPECT_EQ(value.Daylight() != 0, std::localtime(&instant)->tm_isdst > 0);
    EXPECT_EQ(value.ZoneOffset(), -300);
    // The time-of-day form reads its fields with the flag it captured.
    EXPECT_EQ(CDateTime::FromTimeOfDay(12, 0, 0, 1).Hour(), 12);
    if (value.Daylight() == 0) continue;
    const CDateTime later = value + CDateSpan::FromDays(1);  // all year in daylight time
    EXPECT_EQ((later.Seconds() - value.Seconds()) * 100 + later.Hour(), 8640000 + value.Hour());
  }
}

// Zones with daylight saving, at fixed instants of both seasons, each by its
// name and by the short form that the Windows runtime reads.
struct Zone {
  const char* name;
  const char* shortForm;
  int standardWest;  // hours
};
constexpr Zone kNewYork = {"America/New_York", "EST5EDT", 5};
constexpr Zone kBerlin = {"Europe/Berlin", "CET-1CEST", -1};

// The form of the zone's name that the runtime reads (a winter noon is its
// standard time and a summer noon daylight time), or null.
const char* ReadableName(const Zone& zone) {
  for (const char* name : {zone.name, zone.shortForm}) {
    const ScopedZone trying(name);
    std::tm winter{};
    winter.tm_hour = 12, winter.tm_mday = 15, winter.tm_year = 124, winter.tm_isdst = -1;
    std::tm summer = winter;
    summer.tm_mon = 6;
    if (std::mktime(&winter) == 1705320000 + zone.standardWest * 3600 && std::mktime(&summer) != -1 &&
        summer.tm_isdst > 0)
      return name;
  }
  return nullptr;
}

TEST(DateTime, LocalFieldsInEitherSeasonGiveTheirInstant) {
  const struct {
    const Zone& zone;
    const char* local;
    const char* utc;
  } cases[] = {
      {kNewYork, "2024-01-15 12:00:00", "2024-01-15 17:00:00"},
      {kNewYork, "2024-11-03 00:30:00", "2024-11-03 04:30:00"},  // the night the clocks go back
      {kNewYork, "2040-07-01 12:00:00", "2040-07-01 16:00:00"},
      {kBerlin, "2024-01-15 12:00:00", "2024-01-15 11:00:00"},
      {kBerlin, "2024-03-31 23:59:59", "2024-03-31 21:59:59"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.zone.name << " " << c.local);
    const char* name = ReadableName(c.zone);
    if (name == nullptr) GTEST_SKIP() << "the runtime does not read " << c.zone.name;
    const ScopedZone zone(name);
    const CDateTime value = At(c.local, 1);
    EXPECT_EQ(Show(value) + " " + std::to_string(value.Seconds() - At(c.utc).Seconds()), c.local + std::string(" 0"));

    // The setters and the date form read the fields the same way.
    CDateTime set = At(value.Month() > 6 ? "2024-01-10 03:00:00" : "2024-07-10 03:00:00", 1);
    set.SetDateAndTimeNumbers(value.DateNumber(), value.TimeNumber());
    EXPECT_EQ(set.Seconds(), At(c.utc).Seconds());
    EXPECT_EQ(Show(CDateTime::FromDate(value.Year(), value.Month(), value.Day(), 1)),
              std::string(c.local, 10) + " 00:00:00");
  }
}

TEST(DateTime, CalendarArithmeticKeepsTheWallClockAcrossSeasons) {
  for (const Zone& each : {kNewYork, kBerlin}) {
    SCOPED_TRACE(each.name);
    const char* name = ReadableName(each);
    if (name == nullptr) GTEST_SKIP() << "the runtime does not read " << each.name;
    const ScopedZone zone(name);
    const CDateTime summer = At("2024-01-15 12:00:00", 1) + CDateSpan::FromDays(180);
    EXPECT_EQ(Show(summer), "2024-07-13 12:00:00");
    EXPECT_EQ(summer.Seconds(), At("2024-07-13 12:00:00").Seconds() + (each.standardWest - 1) * 3600);
    EXPECT_EQ(Show(summer - CDateSpan::FromDays(180)), "2024-01-15 12:00:00");
    EXPECT_EQ((summer + CDateSpan::FromDays(1) - summer).TotalSeconds(), 86400) << "a summer day";
  }
}

FileTime FileTimeOf(std::int64_t unixSeconds, std::uint32_t milliseconds) {
  return FileTime::FromTicks(kFileTimeUnixEpoch + static_cast<std::uint64_t>(unixSeconds) * kFileTimeTicksPerSecond +
                             milliseconds * 10000ull);
}

TEST(DateTime, FileTimesRoundTripWithinTheRange) {
  const ScopedZone zone(test::kZoneFiveWest);
  for (const auto& [seconds, milliseconds] :
       {std::pair<std::int64_t, std::uint32_t>{0, 0}, {1236262029, 5}, {4102444800, 999}, {kLatestTime, 1}}) {
    CDateTime value = CDateTime::Now(1);  // keeps the local zone of the value
    ASSERT_TRUE(value.SetFromFileTime(FileTimeOf(seconds, milliseconds))) << seconds;
    EXPECT_EQ(value.Seconds() * 1000 + value.Millisecond(), seconds * 1000 + milliseconds);
    EXPECT_EQ(value.ZoneOffset(), -300);
    FileTime back;
    ASSERT_TRUE(value.ToFileTime(back));
    EXPECT_EQ(back.Ticks(), FileTimeOf(seconds, milliseconds).Ticks());
  }
  CDateTime value = At("2020-01-01");
  for (const FileTime& outside :
       {FileTime{}, FileTimeOf(-1, 0), FileTimeOf(kLatestTime + 1, 0), FileTime{0, 0x80000000}})
    EXPECT_FALSE(value.SetFromFileTime(outside));  // 1601, 1969, 3001, not a file time
  EXPECT_EQ(value.Seconds(), At("2020-01-01").Seconds());
  FileTime out;
  CDateTime error, tooPrecise;
  error.SetSeconds(kTimeError, 0);
  tooPrecise.SetSeconds(0, 1000);  // milliseconds that no SYSTEMTIME holds
  EXPECT_FALSE(error.ToFileTime(out) || tooPrecise.ToFileTime(out));
}

double SecondsTaken(const std::function<void()>& action) {
  const auto start = std::chrono::steady_clock::now();
  action();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(DateTime, StopwatchAndSleeping) {
  CDateTime value;
  value.StartTimer();
  EXPECT_GE(SecondsTaken([] { EXPECT_TRUE(CTimeSpan(0.05).Sleep()); }), 0.045);
  EXPECT_GE(value.StopTimer(), 0.045);
  EXPECT_LT(SecondsTaken([] { EXPECT_TRUE(CTimeSpan(-5).Sleep() && At("2000-01-01").SleepUntil()); }), 0.5);
  CDateTime soon = CDateTime::Now(1);
  const std::uint32_t milliseconds = soon.Millisecond() + 300;
  soon.SetSeconds(soon.Seconds() + milliseconds / 1000, milliseconds % 1000);
  const double taken = SecondsTaken([&] { EXPECT_TRUE(soon.SleepUntil()); });
  EXPECT_TRUE(taken >= 0.25 && taken < 1.0) << taken;
}

}  // namespace
}  // namespace velinst
