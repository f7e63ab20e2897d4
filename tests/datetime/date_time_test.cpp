#include "datetime/date_time.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
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

struct Fields {
  int year, month, day, hour, minute, second;
};

void ExpectFields(const CDateTime& value, const Fields& expected) {
  EXPECT_EQ(value.Year(), expected.year);
  EXPECT_EQ(value.Month(), expected.month);
  EXPECT_EQ(value.Day(), expected.day);
  EXPECT_EQ(value.Hour(), expected.hour);
  EXPECT_EQ(value.Minute(), expected.minute);
  EXPECT_EQ(value.Second(), expected.second);
}

CDateTime Utc(const Fields& f) { return CDateTime(f.year, f.month, f.day, f.hour, f.minute, f.second, 0); }

TEST(DateTime, UtcConstructionCoversTheRuntimeRangeAndNoMore) {
  struct Case {
    Fields fields;
    std::int64_t seconds;
    int dayOfWeek;
    int dayOfYear;
  };
  const Case cases[] = {
      {{1970, 1, 1, 0, 0, 0}, 0, 5, 1},  // a Thursday
      {{2009, 3, 5, 14, 7, 9}, 1236262029, 5, 64},
      {{2020, 12, 31, 23, 59, 59}, 1609459199, 5, 366},
      {{3000, 12, 31, 23, 59, 59}, kLatestTime, 4, 365},
      {{3001, 1, 1, 0, 0, 0}, kTimeError, 0, 0},
      {{1969, 12, 31, 23, 59, 59}, kTimeError, 0, 0},
      {{2147483647, 1, 1, 0, 0, 0}, kTimeError, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seconds);
    const CDateTime value = Utc(c.fields);
    EXPECT_EQ(value.Seconds(), c.seconds);
    EXPECT_EQ(value.Millisecond(), 0u);
    EXPECT_EQ(value.Local(), 0);
    EXPECT_EQ(value.ZoneOffset(), 0);
    if (c.seconds == kTimeError) continue;
    ExpectFields(value, c.fields);
    EXPECT_EQ(value.DayOfWeek(), c.dayOfWeek);
    EXPECT_EQ(value.DayOfYear(), c.dayOfYear);
  }
}

TEST(DateTime, DateAndTimeOfDayFormsAndNumbers) {
  const CDateTime date = CDateTime::FromDate(2024, 3, 5, 0);
  ExpectFields(date, {2024, 3, 5, 0, 0, 0});
  EXPECT_EQ(date.DateNumber(), 20240305);

  const CDateTime time = CDateTime::FromTimeOfDay(7, 8, 9, 0);
  EXPECT_EQ(time.Seconds(), 7 * 3600 + 8 * 60 + 9);
  EXPECT_EQ(time.TimeNumber(), 70809);

  CDateTime value = Utc({2024, 3, 5, 7, 8, 9});
  value.SetSeconds(value.Seconds(), 500);
  value.SetDateNumber(20200229);
  ExpectFields(value, {2020, 2, 29, 7, 8, 9});
  EXPECT_EQ(value.Millisecond(), 0u);
  value.SetTimeNumber(235958);
  ExpectFields(value, {2020, 2, 29, 23, 59, 58});
  value.SetDateAndTimeNumbers(20210228, 240000);  // hour 24 rolls over
  ExpectFields(value, {2021, 3, 1, 0, 0, 0});
  EXPECT_EQ(value.Seconds(), Utc({2021, 3, 1, 0, 0, 0}).Seconds());
}

TEST(DateTime, ThirtyTwoBitSecondsAreUnsigned) {
  CDateTime value;
  value.SetSeconds(std::uint32_t{0xFFFFFFFF});
  EXPECT_EQ(value.Seconds(), 4294967295);
  ExpectFields(value, {2106, 2, 7, 6, 28, 15});
  value.SetSeconds(std::int64_t{0x100000005}, 7);
  EXPECT_EQ(value.Seconds32(), 5u);
  EXPECT_EQ(value.Millisecond(), 7u);
}

TEST(DateTime, ComparisonUsesSecondsThenMilliseconds) {
  CDateTime earlier;
  CDateTime later;
  earlier.SetSeconds(1000, 100);
  later.SetSeconds(1000, 900);
  EXPECT_TRUE(earlier < later);
  EXPECT_TRUE(later > earlier);
  EXPECT_TRUE(later >= earlier);
  EXPECT_TRUE(earlier != later);
  later.SetSeconds(999, 999);
  EXPECT_TRUE(later < earlier);
  later.SetSeconds(1000, 100);
  later.ToLocal();  // the zone does not take part
  EXPECT_TRUE(later == earlier);
}

TEST(DateTime, CalendarArithmeticNormalisesThroughTheRuntime) {
  struct Case {
    Fields start;
    CDateSpan span;
    int sign;
    Fields expected;
  };
  const Case cases[] = {
      {{2020, 2, 29, 12, 0, 0}, CDateSpan::FromYears(1), 1, {2021, 3, 1, 12, 0, 0}},
      {{2021, 1, 31, 0, 0, 0}, CDateSpan::FromMonths(1), 1, {2021, 3, 3, 0, 0, 0}},
      {{2024, 1, 31, 0, 0, 0}, CDateSpan::FromMonths(1), 1, {2024, 3, 2, 0, 0, 0}},
      {{2021, 3, 31, 0, 0, 0}, CDateSpan::FromMonths(1), -1, {2021, 3, 3, 0, 0, 0}},
      {{2020, 3, 1, 0, 0, 0}, CDateSpan::FromDays(1), -1, {2020, 2, 29, 0, 0, 0}},
      {{2021, 3, 1, 0, 0, 0}, CDateSpan::FromDays(1), -1, {2021, 2, 28, 0, 0, 0}},
      {{2020, 12, 28, 0, 0, 0}, CDateSpan::FromWeeks(1), 1, {2021, 1, 4, 0, 0, 0}},
      {{2020, 12, 31, 23, 0, 0}, CDateSpan::FromHours(25), 1, {2021, 1, 2, 0, 0, 0}},
      {{2020, 1, 1, 0, 0, 0}, CDateSpan::FromSeconds(-1), 1, {2019, 12, 31, 23, 59, 59}},
      {{2020, 1, 1, 0, 0, 0}, CDateSpan(1, 1, 1, 1, 1, 1, 1, 999), 1, {2021, 2, 9, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start.year << "-" << c.start.month << "-" << c.start.day << " sign "
                                    << c.sign);
    CDateTime start = Utc(c.start);
    start.SetSeconds(start.Seconds(), 250);
    const CDateTime result = c.sign > 0 ? start + c.span : start - c.span;
    ExpectFields(result, c.expected);
    EXPECT_EQ(result.Seconds(), Utc(c.expected).Seconds());
    EXPECT_EQ(result.Millisecond(), 0u);
    EXPECT_EQ(start.Millisecond(), 250u);  // the operand is left alone
  }
}

TEST(DateTime, TimeSpanArithmeticDropsBothMillisecondParts) {
  CDateTime value;
  value.SetSeconds(1000, 750);
  const CDateTime plus = value + CTimeSpan(1.5);
  EXPECT_EQ(plus.Seconds(), 1001);
  EXPECT_EQ(plus.Millisecond(), 0u);
  EXPECT_EQ((value - CTimeSpan(1.5)).Seconds(), 999);
  EXPECT_EQ((value + CTimeSpan(-1.5)).Seconds(), 999);
  value += CTimeSpan::FromDays(2);
  EXPECT_EQ(value.Seconds(), 1000 + 2 * 86400);
}

TEST(DateTime, TimeSpansBeyondThirtyTwoBitsOfSecondsStillAdd) {
  const CDateTime start = Utc({2000, 1, 1, 0, 0, 0});
  EXPECT_EQ((start + CTimeSpan(1e10)).Seconds(), start.Seconds() + 10000000000);
  EXPECT_EQ((start + CTimeSpan(1e12)).Seconds(), kTimeError);
  EXPECT_EQ((start + CTimeSpan(1e300)).Seconds(), kTimeError);
}

TEST(DateTime, ResultsOutsideTheRangeAreTheErrorValue) {
  const CDateTime last = Utc({3000, 12, 31, 0, 0, 0});
  EXPECT_EQ((last + CDateSpan::FromDays(1)).Seconds(), kTimeError);
  EXPECT_EQ((Utc({1970, 1, 1, 0, 0, 0}) - CDateSpan::FromSeconds(1)).Seconds(), kTimeError);
  EXPECT_EQ((last + CDateSpan::FromYears(2147483647)).Seconds(), kTimeError);
  EXPECT_EQ((last - CDateSpan::FromDays(-2147483647 - 1)).Seconds(), kTimeError);
  const CDateTime error = last + CDateSpan::FromYears(5);
  EXPECT_EQ(error.Year(), 1899);  // every field of the record is -1
  EXPECT_EQ((error + CDateSpan::FromDays(1)).Seconds(), kTimeError);
}

TEST(DateTime, DifferenceKeepsMilliseconds) {
  CDateTime later = Utc({2020, 1, 1, 10, 0, 0});
  CDateTime earlier = Utc({2020, 1, 1, 9, 59, 59});
  later.SetSeconds(later.Seconds(), 200);
  earlier.SetSeconds(earlier.Seconds(), 900);
  EXPECT_NEAR((later - earlier).Seconds(), 0.3, 1e-9);
  EXPECT_NEAR((earlier - later).Seconds(), -0.3, 1e-9);
  CDateTime far;
  far.SetSeconds(INT64_MIN, 0);
  EXPECT_GT((later - far).Seconds(), 9e18);
}

TEST(DateTime, LocalValueShowsTheZoneItCaptured) {
  const ScopedZone zone(test::kZoneFiveWest);
  CDateTime value = CDateTime::FromDate(2020, 7, 1, 1);
  EXPECT_EQ(value.Seconds(), Utc({2020, 7, 1, 5, 0, 0}).Seconds());
  EXPECT_EQ(value.ZoneOffset(), -300);
  EXPECT_EQ(value.Daylight(), 0);
  ExpectFields(value, {2020, 7, 1, 0, 0, 0});

  {
    const ScopedZone elsewhere(test::kZoneFiveThirtyEast);
    value.SetSeconds(value.Seconds(), 0);  // refresh with the zone it holds
    ExpectFields(value, {2020, 7, 1, 0, 0, 0});
    value.ToUTC();
    ExpectFields(value, {2020, 7, 1, 5, 0, 0});
    EXPECT_EQ(value.ZoneOffset(), 0);
    value.ToLocal();  // captures the zone in force now
    EXPECT_EQ(value.ZoneOffset(), 330);
    ExpectFields(value, {2020, 7, 1, 10, 30, 0});
    EXPECT_EQ(value.Seconds(), Utc({2020, 7, 1, 5, 0, 0}).Seconds());
  }
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

TEST(DateTime, ZoneChangesKeepTheInstant) {
  CDateTime value = Utc({2020, 1, 1, 12, 0, 0});
  value.SetSeconds(value.Seconds(), 321);
  value.ToUTC();  // already UTC: nothing
  {
    const ScopedZone zone(test::kZoneFiveThirtyEast);
    value.ToLocal();
  }
  EXPECT_EQ(value.Local(), 1);
  EXPECT_EQ(value.Millisecond(), 321u);
  ExpectFields(value, {2020, 1, 1, 17, 30, 0});
  value.ToLocal();  // already local: keeps the zone it captured
  EXPECT_EQ(value.ZoneOffset(), 330);
  value.ToUTC();
  EXPECT_EQ(value.Millisecond(), 321u);
  EXPECT_EQ(value.Daylight(), 0);
  ExpectFields(value, {2020, 1, 1, 12, 0, 0});
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

struct SeasonCase {
  const Zone& zone;
  Fields local;
  Fields utc;
};

const SeasonCase kSeasonCases[] = {
    {kNewYork, {2024, 1, 15, 12, 0, 0}, {2024, 1, 15, 17, 0, 0}},
    {kNewYork, {2024, 7, 1, 12, 0, 0}, {2024, 7, 1, 16, 0, 0}},
    {kNewYork, {2024, 11, 3, 0, 30, 0}, {2024, 11, 3, 4, 30, 0}},  // the night the clocks go back
    {kBerlin, {2024, 1, 15, 12, 0, 0}, {2024, 1, 15, 11, 0, 0}},
    {kBerlin, {2024, 7, 1, 12, 0, 0}, {2024, 7, 1, 10, 0, 0}},
    {kBerlin, {2024, 3, 31, 23, 59, 59}, {2024, 3, 31, 21, 59, 59}},
};

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

CDateTime Local(const Fields& f) { return CDateTime(f.year, f.month, f.day, f.hour, f.minute, f.second, 1); }

TEST(DateTime, LocalFieldsInEitherSeasonGiveTheirInstant) {
  for (const SeasonCase& c : kSeasonCases) {
    SCOPED_TRACE(testing::Message() << c.zone.name << " " << c.local.month << "-" << c.local.day);
    const char* name = ReadableName(c.zone);
    if (name == nullptr) GTEST_SKIP() << "the runtime does not read " << c.zone.name;
    const ScopedZone zone(name);
    const CDateTime value = Local(c.local);
    EXPECT_EQ(value.Seconds(), Utc(c.utc).Seconds());
    ExpectFields(value, c.local);

    // The setters and the date form read the fields the same way.
    CDateTime set = Local({2024, c.local.month > 6 ? 1 : 7, 10, 3, 0, 0});
    set.SetDateAndTimeNumbers((c.local.year * 100 + c.local.month) * 100 + c.local.day,
                              (c.local.hour * 100 + c.local.minute) * 100 + c.local.second);
    EXPECT_EQ(set.Seconds(), Utc(c.utc).Seconds());
    ExpectFields(set, c.local);
    const CDateTime midnight = CDateTime::FromDate(c.local.year, c.local.month, c.local.day, 1);
    ExpectFields(midnight, {c.local.year, c.local.month, c.local.day, 0, 0, 0});
  }
}

TEST(DateTime, CalendarArithmeticKeepsTheWallClockAcrossSeasons) {
  for (const Zone& each : {kNewYork, kBerlin}) {
    SCOPED_TRACE(each.name);
    const char* name = ReadableName(each);
    if (name == nullptr) GTEST_SKIP() << "the runtime does not read " << each.name;
    const ScopedZone zone(name);
    const int summerNoonUtcHour = 12 + each.standardWest - 1;
    const CDateTime winter = Local({2024, 1, 15, 12, 0, 0});
    const CDateTime summer = winter + CDateSpan::FromDays(180);
    ExpectFields(summer, {2024, 7, 13, 12, 0, 0});
    EXPECT_EQ(summer.Seconds(), Utc({2024, 7, 13, summerNoonUtcHour, 0, 0}).Seconds());
    ExpectFields(summer - CDateSpan::FromDays(180), {2024, 1, 15, 12, 0, 0});
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

TEST(DateTime, FileTimesRoundTrip) {
  struct Case {
    std::int64_t seconds;
    std::uint32_t milliseconds;
  };
  const Case cases[] = {{0, 0}, {1236262029, 123}, {951782400, 999}, {kLatestTime, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seconds);
    const FileTime fileTime = FileTimeOf(c.seconds, c.milliseconds);
    CDateTime value;
    ASSERT_TRUE(value.SetFromFileTime(fileTime));
    EXPECT_EQ(value.Seconds(), c.seconds);
    EXPECT_EQ(value.Millisecond(), c.milliseconds);
    FileTime back;
    ASSERT_TRUE(value.ToFileTime(back));
    EXPECT_EQ(back.Ticks(), fileTime.Ticks());
  }
}

TEST(DateTime, FileTimeKeepsTheLocalZoneOfTheValue) {
  const ScopedZone zone(test::kZoneFiveWest);
  CDateTime value = CDateTime::Now(1);
  ASSERT_TRUE(value.SetFromFileTime(FileTimeOf(1236262029, 5)));
  EXPECT_EQ(value.Local(), 1);
  EXPECT_EQ(value.ZoneOffset(), -300);
  ExpectFields(value, {2009, 3, 5, 9, 7, 9});
  FileTime back;
  ASSERT_TRUE(value.ToFileTime(back));  // from the UTC fields of the instant
  EXPECT_EQ(back.Ticks(), FileTimeOf(1236262029, 5).Ticks());
}

TEST(DateTime, FileTimesOutsideTheRangeAreRefused) {
  CDateTime value = Utc({2020, 1, 1, 0, 0, 0});
  const std::int64_t before = value.Seconds();
  EXPECT_FALSE(value.SetFromFileTime(FileTime{}));                      // 1601
  EXPECT_FALSE(value.SetFromFileTime(FileTimeOf(-1, 0)));               // 1969
  EXPECT_FALSE(value.SetFromFileTime(FileTimeOf(kLatestTime + 1, 0)));  // 3001
  EXPECT_FALSE(value.SetFromFileTime(FileTime{0, 0x80000000}));         // not a file time
  EXPECT_EQ(value.Seconds(), before);

  FileTime out;
  value.SetSeconds(kTimeError, 0);
  EXPECT_FALSE(value.ToFileTime(out));
  value.SetSeconds(0, 1000);  // milliseconds that no SYSTEMTIME holds
  EXPECT_FALSE(value.ToFileTime(out));
}

TEST(DateTime, FileTimesOfAFile) {
  const test::TempDir folder;
  const std::string path = folder.File("dated.txt");
  test::WriteWholeFile(path, "x");
  const FileTime access = FileTimeOf(1236262029, 123);
  const FileTime write = FileTimeOf(1600000000, 456);
  ASSERT_TRUE(CDOS().SetFileTimes(path.c_str(), nullptr, &access, &write));

  CDateTime creation;
  CDateTime lastAccess;
  CDateTime lastWrite;
  ASSERT_TRUE(CDateTime::GetFileTimes(path.c_str(), creation, lastAccess, lastWrite));
  EXPECT_GE(creation.Seconds(), 1600000000);  // made just now (Wine shows the write time)
  EXPECT_EQ(lastAccess.Seconds(), 1236262029);
  EXPECT_EQ(lastAccess.Millisecond(), 123u);
  EXPECT_EQ(lastWrite.Seconds(), 1600000000);
  EXPECT_EQ(lastWrite.Millisecond(), 456u);

  CDateTime one;
  ASSERT_TRUE(one.SetFromLastWriteTime(path.c_str()));
  EXPECT_EQ(one, lastWrite);
  ASSERT_TRUE(one.SetFromLastAccessTime(path.c_str()));
  EXPECT_EQ(one, lastAccess);
  ASSERT_TRUE(one.SetFromCreationTime(path.c_str()));
  EXPECT_EQ(one, creation);

  const std::string missing = folder.File("missing.txt");
  EXPECT_FALSE(CDateTime::GetFileTimes(missing.c_str(), creation, lastAccess, lastWrite));
  EXPECT_FALSE(one.SetFromLastWriteTime(missing.c_str()));
  EXPECT_EQ(one, creation);
}

TEST(DateTime, CarriesAStopwatch) {
  CDateTime value;
  value.StartTimer();
  EXPECT_TRUE(CTimeSpan(0.02).Sleep());
  EXPECT_GE(value.TimerRunning(), 0.015);
  const double stopped = value.StopTimer();
  EXPECT_GE(stopped, 0.015);
  EXPECT_EQ(value.TimerElapsed(), stopped);
}

double SecondsTaken(const std::function<void()>& action) {
  const auto start = std::chrono::steady_clock::now();
  action();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(DateTime, SleepingWaitsTheSpanAndNoLonger) {
  EXPECT_GE(SecondsTaken([] { EXPECT_TRUE(CTimeSpan(0.05).Sleep()); }), 0.045);
  EXPECT_LT(SecondsTaken([] { EXPECT_TRUE(CTimeSpan(-5).Sleep()); }), 0.5);
  EXPECT_LT(SecondsTaken([] { EXPECT_TRUE(Utc({2000, 1, 1, 0, 0, 0}).SleepUntil()); }), 0.5);
  CDateTime soon = CDateTime::Now(1);
  const std::uint32_t milliseconds = soon.Millisecond() + 300;
  soon.SetSeconds(soon.Seconds() + milliseconds / 1000, milliseconds % 1000);
  const double taken = SecondsTaken([&] { EXPECT_TRUE(soon.SleepUntil()); });
  EXPECT_GE(taken, 0.25);
  EXPECT_LT(taken, 1.0);
}

TEST(DateTime, SleepForWakesOnAWholeSecond) {
  const double taken = SecondsTaken([] { EXPECT_TRUE(CDateTime::SleepFor(CDateSpan::FromSeconds(1))); });
  EXPECT_LE(taken, 1.2);
  EXPECT_LT(CDateTime::Now(1).Millisecond(), 200u);
}

}  // namespace
}  // namespace velinst
