#include "datetime/date_time.h"

#include <gmock/gmock.h>
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

// The value's fields in the form At reads.
std::string Show(const CDateTime& value) {
  char text[96];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", value.Year(), value.Month(), value.Day(),
                value.Hour(), value.Minute(), value.Second());
  return text;
}

TEST(DateTime, UtcConstructionCoversTheRuntimeRangeAndNoMore) {
  struct Case {
    const char* fields;
    std::int64_t seconds;
    int dayOfWeek, dayOfYear;
  };
  const Case cases[] = {
      {"1970-01-01 00:00:00", 0, 5, 1},  // a Thursday
      {"2009-03-05 14:07:09", 1236262029, 5, 64},
      {"2020-12-31 23:59:59", 1609459199, 5, 366},
      {"2038-01-19 03:14:08", 2147483648, 3, 19},
      {"3000-12-31 23:59:59", kLatestTime, 4, 365},
      {"3001-01-01 00:00:00", kTimeError, 0, 0},
      {"1969-12-31 23:59:59", kTimeError, 0, 0},
      {"2147483647-01-01 00:00:00", kTimeError, 0, 0},
  };
  for (const Case& c : cases) {
    const CDateTime value = At(c.fields);
    EXPECT_EQ(value.Seconds(), c.seconds) << c.fields;
    EXPECT_EQ(value.Millisecond() + value.Local() + value.ZoneOffset(), 0) << c.fields;
    if (c.seconds == kTimeError) continue;
    EXPECT_EQ(Show(value), c.fields);
    EXPECT_EQ(value.DayOfWeek() * 1000 + value.DayOfYear(), c.dayOfWeek * 1000 + c.dayOfYear) << c.fields;
  }
}

TEST(DateTime, DateAndTimeOfDayFormsAndNumbers) {
  const CDateTime date = CDateTime::FromDate(2024, 3, 5, 0);
  EXPECT_EQ(Show(date), "2024-03-05 00:00:00");
  EXPECT_EQ(date.DateNumber(), 20240305);
  const CDateTime time = CDateTime::FromTimeOfDay(7, 8, 9, 0);
  EXPECT_EQ(time.Seconds(), 7 * 3600 + 8 * 60 + 9);
  EXPECT_EQ(time.TimeNumber(), 70809);

  CDateTime value = At("2024-03-05 07:08:09");
  value.SetSeconds(value.Seconds(), 500);
  value.SetDateNumber(20200229);
  EXPECT_EQ(Show(value), "2020-02-29 07:08:09");
  EXPECT_EQ(value.Millisecond(), 0u);
  value.SetTimeNumber(235958);
  EXPECT_EQ(Show(value), "2020-02-29 23:59:58");
  value.SetDateAndTimeNumbers(20210228, 240000);  // hour 24 rolls over
  EXPECT_EQ(Show(value), "2021-03-01 00:00:00");
  EXPECT_EQ(value.Seconds(), At("2021-03-01").Seconds());
}

TEST(DateTime, ThirtyTwoBitSecondsAreUnsigned) {
  CDateTime value;
  value.SetSeconds(std::uint32_t{0xFFFFFFFF});
  EXPECT_EQ(value.Seconds(), 4294967295);
  EXPECT_EQ(Show(value), "2106-02-07 06:28:15");
  value.SetSeconds(std::int64_t{0x100000005}, 7);
  EXPECT_EQ(value.Seconds32(), 5u);
  EXPECT_EQ(value.Millisecond(), 7u);
}

TEST(DateTime, ComparisonUsesSecondsThenMilliseconds) {
  CDateTime earlier, later;
  earlier.SetSeconds(1000, 100);
  later.SetSeconds(1000, 900);
  EXPECT_TRUE(earlier < later && later > earlier && later >= earlier && earlier != later);
  later.SetSeconds(999, 999);
  EXPECT_TRUE(later < earlier);
  later.SetSeconds(1000, 100);
  later.ToLocal();  // the zone does not take part
  EXPECT_TRUE(later == earlier);
}

TEST(DateTime, CalendarArithmeticNormalisesThroughTheRuntime) {
  struct Case {
    const char* start;
    CDateSpan span;
    int sign;
    const char* expected;
  };
  const Case cases[] = {
      {"2020-02-29 12:00:00", CDateSpan::FromYears(1), 1, "2021-03-01 12:00:00"},
      {"2021-01-31 00:00:00", CDateSpan::FromMonths(1), 1, "2021-03-03 00:00:00"},
      {"2024-01-31 00:00:00", CDateSpan::FromMonths(1), 1, "2024-03-02 00:00:00"},
      {"2021-03-31 00:00:00", CDateSpan::FromMonths(1), -1, "2021-03-03 00:00:00"},
      {"2020-03-01 00:00:00", CDateSpan::FromDays(1), -1, "2020-02-29 00:00:00"},
      {"2021-03-01 00:00:00", CDateSpan::FromDays(1), -1, "2021-02-28 00:00:00"},
      {"2020-12-28 00:00:00", CDateSpan::FromWeeks(1), 1, "2021-01-04 00:00:00"},
      {"2020-12-31 23:00:00", CDateSpan::FromHours(25), 1, "2021-01-02 00:00:00"},
      {"2020-01-01 00:00:00", CDateSpan::FromSeconds(-1), 1, "2019-12-31 23:59:59"},
      {"2020-01-01 00:00:00", CDateSpan(1, 1, 1, 1, 1, 1, 1, 999), 1, "2021-02-09 01:01:01"},
      {"2037-12-31 00:00:00", CDateSpan::FromYears(2), 1, "2039-12-31 00:00:00"},
      {"2100-03-01 00:00:00", CDateSpan::FromDays(1), -1, "2100-02-28 00:00:00"},
  };
  for (const Case& c : cases) {
    CDateTime start = At(c.start);
    start.SetSeconds(start.Seconds(), 250);
    const CDateTime result = c.sign > 0 ? start + c.span : start - c.span;
    EXPECT_EQ(Show(result), c.expected) << c.start << " sign " << c.sign;
    EXPECT_EQ(result.Seconds(), At(c.expected).Seconds()) << c.start;
    EXPECT_EQ(result.Millisecond(), 0u);
    EXPECT_EQ(start.Millisecond(), 250u);  // the operand is left alone
  }
}

TEST(DateTime, TimeSpanArithmeticDropsMillisecondsAndKeepsToTheRange) {
  CDateTime value;
  value.SetSeconds(1000, 750);
  const CDateTime plus = value + CTimeSpan(1.5);
  EXPECT_EQ(plus.Seconds() * 1000 + plus.Millisecond(), 1001000);
  EXPECT_EQ((value - CTimeSpan(1.5)).Seconds(), 999);
  EXPECT_EQ((value + CTimeSpan(-1.5)).Seconds(), 999);
  value += CTimeSpan::FromDays(2);
  EXPECT_EQ(value.Seconds(), 1000 + 2 * 86400);

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

TEST(DateTime, DifferenceKeepsMilliseconds) {
  CDateTime later = At("2020-01-01 10:00:00"), earlier = At("2020-01-01 09:59:59"), far;
  later.SetSeconds(later.Seconds(), 200);
  earlier.SetSeconds(earlier.Seconds(), 900);
  EXPECT_NEAR((later - earlier).Seconds(), 0.3, 1e-9);
  EXPECT_NEAR((earlier - later).Seconds(), -0.3, 1e-9);
  far.SetSeconds(INT64_MIN, 0);
  EXPECT_GT((later - far).Seconds(), 9e18);
}

TEST(DateTime, LocalValueKeepsTheZoneItCapturedAndTheInstant) {
  CDateTime utc = At("2020-07-01 05:00:00");
  utc.ToUTC();  // already UTC: nothing
  EXPECT_EQ(Show(utc), "2020-07-01 05:00:00");
  CDateTime value;
  {
    const ScopedZone zone(test::kZoneFiveWest);
    value = CDateTime::FromDate(2020, 7, 1, 1);
  }
  EXPECT_EQ(value.Seconds(), utc.Seconds());
  EXPECT_EQ(value.ZoneOffset() * 10 + value.Daylight(), -3000);
  EXPECT_EQ(Show(value), "2020-07-01 00:00:00");
  const ScopedZone elsewhere(test::kZoneFiveThirtyEast);
  value.SetSeconds(value.Seconds(), 321);  // refresh with the zone it holds
  value.ToLocal();                         // already local: keeps it
  EXPECT_EQ(Show(value) + " " + std::to_string(value.ZoneOffset()), "2020-07-01 00:00:00 -300");
  value.ToUTC();
  EXPECT_EQ(Show(value) + " " + std::to_string(value.ZoneOffset()), "2020-07-01 05:00:00 0");
  value.ToLocal();  // captures the zone in force now
  EXPECT_EQ(Show(value) + " " + std::to_string(value.ZoneOffset()), "2020-07-01 10:30:00 330");
  EXPECT_EQ(value.Seconds() * 1000 + value.Millisecond(), utc.Seconds() * 1000 + 321);
}

TEST(DateTime, DaylightFlagMovesLocalFieldsOnAnHour) {
  const ScopedZone zone(test::kZoneFiveWest);
  CDateTime value = CDateTime::FromTimeOfDay(12, 0, 0, 1);
  EXPECT_EQ(value.Seconds(), 17 * 3600);
  value.SetDaylight(1);
  EXPECT_EQ(value.Hour(), 12);  // raw: no refresh
  value.SetSeconds(value.Seconds(), 0);
  EXPECT_EQ(value.Hour(), 13);
  value.SetZoneOffset(60);
  EXPECT_EQ(value.ZoneOffset(), 60);
  EXPECT_EQ(value.Hour(), 19);
}

TEST(DateTime, NowReadsTheClockAndTheZone) {
  const ScopedZone zone(test::kZoneFiveThirtyEast);
  const std::int64_t before = std::time(nullptr);
  const CDateTime now = CDateTime::Now(1);
  EXPECT_GE(now.Seconds(), before);
  EXPECT_LE(now.Seconds(), before + 2);
  EXPECT_LT(now.Millisecond(), 1000u);
  EXPECT_EQ(now.ZoneOffset(), 330);
  EXPECT_EQ(CDateTime::Now(0).ZoneOffset(), 0);
  EXPECT_EQ(CDateTime(1).Seconds(), 0);
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
  }
}

// Zones with daylight saving, at fixed instants of both seasons, so that no
// result depends on the day the test runs. Each zone by its name and by the
// short form that the Windows runtime reads (which has no names of places,
// and whose rules agree with these instants).
struct Zone {
  const char* name;
  const char* shortForm;
  int standardWest;  // hours
};
constexpr Zone kNewYork = {"America/New_York", "EST5EDT", 5};
constexpr Zone kBerlin = {"Europe/Berlin", "CET-1CEST", -1};

// Whether the runtime reads the zone variable as `zone`: a winter noon is
// its standard time and a summer noon daylight time. A runtime that cannot
// read a name makes something else of it (UTC, or a zone of its own).
bool RuntimeReadsZone(const Zone& zone) {
  const std::time_t januaryNoonUtc = 1705320000;  // 2024-01-15 12:00:00 UTC
  std::tm winter{};
  winter.tm_year = 124;
  winter.tm_mday = 15;
  winter.tm_hour = 12;
  winter.tm_isdst = -1;
  std::tm summer = winter;
  summer.tm_mon = 6;
  return std::mktime(&winter) == januaryNoonUtc + zone.standardWest * 3600 && std::mktime(&summer) != -1 &&
         summer.tm_isdst > 0;
}

// The form of the zone's name that the runtime reads, or null.
const char* ReadableName(const Zone& zone) {
  for (const char* name : {zone.name, zone.shortForm}) {
    const ScopedZone trying(name);
    if (RuntimeReadsZone(zone)) return name;
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
      {kNewYork, "2024-07-01 12:00:00", "2024-07-01 16:00:00"},
      {kNewYork, "2024-11-03 00:30:00", "2024-11-03 04:30:00"},  // the night the clocks go back
      {kNewYork, "2040-07-01 12:00:00", "2040-07-01 16:00:00"},
      {kBerlin, "2024-01-15 12:00:00", "2024-01-15 11:00:00"},
      {kBerlin, "2024-07-01 12:00:00", "2024-07-01 10:00:00"},
      {kBerlin, "2024-03-31 23:59:59", "2024-03-31 21:59:59"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.zone.name << " " << c.local);
    const char* name = ReadableName(c.zone);
    if (name == nullptr) GTEST_SKIP() << "the runtime does not read " << c.zone.name;
    const ScopedZone zone(name);
    const CDateTime value = At(c.local, 1);
    EXPECT_EQ(value.Seconds(), At(c.utc).Seconds());
    EXPECT_EQ(Show(value), c.local);

    // The setters and the date form read the fields the same way.
    CDateTime set = At(value.Month() > 6 ? "2024-01-10 03:00:00" : "2024-07-10 03:00:00", 1);
    set.SetDateAndTimeNumbers(value.DateNumber(), value.TimeNumber());
    EXPECT_EQ(set.Seconds(), At(c.utc).Seconds());
    EXPECT_EQ(Show(set), c.local);
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
    const CDateTime winter = At("2024-01-15 12:00:00", 1);
    const CDateTime summer = winter + CDateSpan::FromDays(180);
    EXPECT_EQ(Show(summer), "2024-07-13 12:00:00");
    EXPECT_EQ(summer.Seconds(), At("2024-07-13 12:00:00").Seconds() + (each.standardWest - 1) * 3600);
    EXPECT_EQ(Show(summer - CDateSpan::FromDays(180)), "2024-01-15 12:00:00");
    // Within one season a day is 86400 seconds, by either kind of span.
    EXPECT_EQ((summer + CDateSpan::FromDays(1) - summer).TotalSeconds(), 86400);
    EXPECT_EQ((summer + CTimeSpan::FromDays(1) - summer).TotalSeconds(), 86400);
    EXPECT_EQ((summer + CDateSpan::FromHours(1)).Hour(), 13);
  }
}

// Daylight saving all year: "now" is in daylight time whatever the date.
TEST(DateTime, NowPlusADayIsADayLaterWhileDaylightSavingApplies) {
  const ScopedZone zone("XST5XDT,J1/0,J365/25");
  const CDateTime now = CDateTime::Now(1);
  if (now.Daylight() == 0) GTEST_SKIP() << "the runtime does not read the zone's rules";
  const CDateTime later = now + CDateSpan::FromDays(1);
  EXPECT_EQ(later.Seconds() - now.Seconds(), 86400);
  EXPECT_EQ(later.Hour(), now.Hour());
}

TEST(DateTime, ZoneNamesComeFromTheRuntime) {
  const ScopedZone zone("EST5EDT");
  // Some runtimes keep only the first letters of the names TZ gives.
  EXPECT_THAT(CDateTime::StandardZoneName(), testing::StartsWith("ES"));
  EXPECT_THAT(CDateTime::DaylightZoneName(), testing::StartsWith("ED"));
}

FileTime FileTimeOf(std::int64_t unixSeconds, std::uint32_t milliseconds) {
  return FileTime::FromTicks(kFileTimeUnixEpoch + static_cast<std::uint64_t>(unixSeconds) * kFileTimeTicksPerSecond +
                             milliseconds * 10000ull);
}

TEST(DateTime, FileTimesRoundTripWithinTheRange) {
  const std::pair<std::int64_t, std::uint32_t> cases[] = {
      {0, 0}, {1236262029, 123}, {951782400, 999}, {4102444800, 500}, {kLatestTime, 1}};
  for (const auto& [seconds, milliseconds] : cases) {
    CDateTime value;
    ASSERT_TRUE(value.SetFromFileTime(FileTimeOf(seconds, milliseconds))) << seconds;
    EXPECT_EQ(value.Seconds() * 1000 + value.Millisecond(), seconds * 1000 + milliseconds);
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
  value.SetSeconds(kTimeError, 0);
  EXPECT_FALSE(value.ToFileTime(out));
  value.SetSeconds(0, 1000);  // milliseconds that no SYSTEMTIME holds
  EXPECT_FALSE(value.ToFileTime(out));
}

TEST(DateTime, FileTimeKeepsTheLocalZoneOfTheValue) {
  const ScopedZone zone(test::kZoneFiveWest);
  CDateTime value = CDateTime::Now(1);
  ASSERT_TRUE(value.SetFromFileTime(FileTimeOf(1236262029, 5)));
  EXPECT_EQ(value.Local(), 1);
  EXPECT_EQ(value.ZoneOffset(), -300);
  EXPECT_EQ(Show(value), "2009-03-05 09:07:09");
  FileTime back;
  ASSERT_TRUE(value.ToFileTime(back));  // from the UTC fields of the instant
  EXPECT_EQ(back.Ticks(), FileTimeOf(1236262029, 5).Ticks());
}

TEST(DateTime, FileTimesOfAFile) {
  const test::TempDir folder;
  const std::string path = folder.File("dated.txt"), missing = folder.File("missing.txt");
  test::WriteWholeFile(path, "x");
  const FileTime access = FileTimeOf(1236262029, 123), write = FileTimeOf(1600000000, 456);
  ASSERT_TRUE(CDOS().SetFileTimes(path.c_str(), nullptr, &access, &write));

  CDateTime creation, lastAccess, lastWrite, one;
  ASSERT_TRUE(CDateTime::GetFileTimes(path.c_str(), creation, lastAccess, lastWrite));
  EXPECT_GE(creation.Seconds(), 1600000000);  // made just now (Wine shows the write time)
  EXPECT_EQ(lastAccess.Seconds() * 1000 + lastAccess.Millisecond(), 1236262029123);
  EXPECT_EQ(lastWrite.Seconds() * 1000 + lastWrite.Millisecond(), 1600000000456);
  EXPECT_TRUE(one.SetFromLastWriteTime(path.c_str()) && one == lastWrite);
  EXPECT_TRUE(one.SetFromLastAccessTime(path.c_str()) && one == lastAccess);
  EXPECT_TRUE(one.SetFromCreationTime(path.c_str()) && one == creation);
  EXPECT_FALSE(CDateTime::GetFileTimes(missing.c_str(), creation, lastAccess, lastWrite));
  EXPECT_FALSE(one.SetFromLastWriteTime(missing.c_str()));
  EXPECT_EQ(one, creation);
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
  EXPECT_GE(value.TimerRunning(), 0.045);
  const double stopped = value.StopTimer();
  EXPECT_EQ(value.TimerElapsed(), stopped);
  EXPECT_LT(SecondsTaken([] { EXPECT_TRUE(CTimeSpan(-5).Sleep()); }), 0.5);
  EXPECT_LT(SecondsTaken([] { EXPECT_TRUE(At("2000-01-01").SleepUntil()); }), 0.5);
  CDateTime soon = CDateTime::Now(1);
  const std::uint32_t milliseconds = soon.Millisecond() + 300;
  soon.SetSeconds(soon.Seconds() + milliseconds / 1000, milliseconds % 1000);
  const double taken = SecondsTaken([&] { EXPECT_TRUE(soon.SleepUntil()); });
  EXPECT_GE(taken, 0.25);
  EXPECT_LT(taken, 1.0);
  // Sleeping for a span wakes on a whole second.
  EXPECT_LE(SecondsTaken([] { EXPECT_TRUE(CDateTime::SleepFor(CDateSpan::FromSeconds(1))); }), 1.2);
  EXPECT_LT(CDateTime::Now(1).Millisecond(), 200u);
}

}  // namespace
}  // namespace velinst
