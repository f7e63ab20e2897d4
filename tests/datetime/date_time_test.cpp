// CDateTime: its fields and arithmetic in UTC and local time, file times,
// formatting and parsing; and the time and date spans.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <limits>
#include <string>
#include <vector>

#include "datetime/date_span.h"
#include "datetime/date_time.h"
#include "datetime/date_time_names.h"
#include "datetime/time_conversions.h"
#include "datetime/time_span.h"
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

TEST(DateTime, UtcConstructionCoversTheRuntimeRangeAndNoMoreNumbersAndComparison) {
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
  CDateTime value, earlier, later;
  value.SetSeconds(std::uint32_t{0xFFFFFFFF});  // 32-bit seconds are unsigned
  EXPECT_EQ(Show(value), "2106-02-07 06:28:15");
  // Date and time numbers, and comparison.
  value = At("2024-03-05 07:08:09");
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

    // Calendar arithmetic keeps the wall clock across the seasons.
    const CDateTime summer = At("2024-01-15 12:00:00", 1) + CDateSpan::FromDays(180);
    EXPECT_EQ(Show(summer) + " " + std::to_string(summer.Seconds() - At("2024-07-13 12:00:00").Seconds()),
              "2024-07-13 12:00:00 " + std::to_string((c.zone.standardWest - 1) * 3600));
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

// Sleeps last at least as asked, and a span or instant already past returns
// at once.
TEST(DateTime, StopwatchAndSleeping) {
  CDateTime timer, soon = CDateTime::Now(1);
  timer.StartTimer();
  const auto start = std::chrono::steady_clock::now();
  const auto taken = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
  EXPECT_TRUE(CTimeSpan(0.05).Sleep() && CTimeSpan(-5).Sleep() && At("2000-01-01").SleepUntil());
  EXPECT_TRUE(taken() >= 0.045 && taken() < 0.5 && timer.StopTimer() >= 0.045) << taken();
  soon.SetSeconds(soon.Seconds() + 1, soon.Millisecond());
  EXPECT_TRUE(soon.SleepUntil());
  EXPECT_TRUE(taken() >= 0.9 && taken() < 2.0) << taken();
}

// 2009-03-05 14:07:09.007 UTC, a Thursday.
CDateTime Sample(std::uint32_t milliseconds = 7) {
  CDateTime value(2009, 3, 5, 14, 7, 9, 0);
  value.SetSeconds(value.Seconds(), milliseconds);
  return value;
}

// Patterns and what they give for `value`, in pairs.
void ExpectFormats(const CDateTime& value, std::initializer_list<const char*> pairs) {
  for (auto it = pairs.begin(); it + 1 < pairs.end(); it += 2) EXPECT_EQ(value.Format(it[0]), it[1]) << it[0];
}

TEST(DateTimeFormat, NamedPatternsAndAValueOutsideTheRange) {
  ExpectFormats(Sample(),
                {kPatternDayMonthTimeYear, "Thu Mar 05 14:07:09 2009", kPatternDayMonthTimeYearLine,
                 "Thu Mar 05 14:07:09 2009\n", kPatternNumericDateTime, "03/05/2009 14:07:09", kPatternTime12,
                 "02:07:09 PM", kPatternShortDate, "3/05/2009", kPatternIso8601Offset, "2009-03-05T14:07:09+00:00",
                 kPatternIso8601Utc, "2009-03-05T14:07:09Z", kPatternHttpDate, "Thu, 05 Mar 2009 14:07:09 GMT"});
  // A value outside the range formats without names.
  CDateTime outside;
  outside.SetSeconds(kLatestTime + 1, 0);
  EXPECT_EQ(outside.Format("dddd ddd MMMM MMM|yyyy-MM-dd HH:mm:ss"), "   |1899-00--1 -1:-1:-1");
}

// Each run of a letter is one token, the longest known first ("ddddd" is
// "dddd" then "d").
TEST(DateTimeFormat, LettersFractionsQuotesAndEscapes) {
  ExpectFormats(
      Sample(),
      {"dddd|ddd|dd|d|ddddd|MMMM|MMM|MM|M|MMMMMM|yyyyy|yyyy|yyy|yy|y|mm:ss|m/s|g gg",
       "Thursday|Thu|05|5|Thursday5|March|Mar|03|3|March03|02009|2009|2009|09|9|07:09|7/9|A.D. A.D.",
       // Seven digits at most, then one more; upper case drops zeros at the end.
       "fffffff|ffffff|fffff|ffff|fff|ff|f|ffffffff|FFF|FF.", "0070000|007000|00700|0070|007|00|0|00700000|007|."});
  ExpectFormats(Sample(950), {"f|ff|F|FFFFFFF", "9|95|9|9500000"});
  ExpectFormats(Sample(0), {"[FFF]|[F]|fff", "[]|[]|000"});
  // Hour letters, and the morning boundary at thirteen.
  const std::pair<int, const char*> cases[] = {{0, "12 12 00 0 AM A 12:30:00 AM"},
                                               {5, "05 5 05 5 AM A 05:30:00 AM"},
                                               {12, "12 12 12 12 AM A 12:30:00 AM"},
                                               {13, "01 1 13 13 PM P 01:30:00 PM"},
                                               {23, "11 11 23 23 PM P 11:30:00 PM"}};
  for (const auto& [hour, expected] : cases)
    EXPECT_EQ(CDateTime(2020, 1, 1, hour, 30, 0, 0).Format(std::string("hh h HH H tt t ") + kPatternTime12), expected);
  // Quotes, escapes and copied characters.
  ExpectFormats(Sample(), {"'word' HH", "word 14",  "\"Day\" d", "Day 5", "'HH:mm'", "HH:mm", "'Won",
                           "\"Won",  // no closing quote: a double quote
                           "\"Won",     "\"Won",    "''",        "",      "\\y",     "y",     "\\\\",
                           "\\",        "\\\\y",    "\\9",       "HH\\",  "14",  // a final backslash writes nothing
                           "%%",        "<NIY:%%>", "%",         "%",     "100%",    "100%",  "[:/-.,]",
                           "[:/-.,]",   "xqbnp",    "xqbnp",     "",      ""});
}

TEST(DateTimeFormat, ZoneLettersOfUtcAndLocalValues) {
  const char* const pattern = "K|zzz|zz|z";
  EXPECT_EQ(Sample().Format(pattern), "Z|+00:00|+00|+00");
  const struct {
    const char* zone;
    int daylight;
    const char* expected;  // pattern, then the ISO form
  } cases[] = {
      {test::kZoneFiveWest, 0, "-05:00|-05:00|-05|-5 2009-03-05T09:07:09-05:00"},
      {test::kZoneFiveWest, 1, "-05:00|-04:00|-05|-5"},  // only "zzz" minds daylight saving
      {test::kZoneFiveThirtyEast, 0, "+05:30|+05:30|+05|+5 2009-03-05T19:37:09+05:30"},
      {test::kZoneFiveThirtyEast, 1, "+05:30|+06:30|+05|+5"},
      {test::kZoneUtc, 0, "Z|+00:00|+00|+00 2009-03-05T14:07:09+00:00"},
      {"CET-1", 1, "+01:00|+02:00|+01|+1"},
      {"WAT1", 1, "-01:00|+00:00|-01|-1"},  // daylight brings "zzz" to zero
  };
  for (const auto& c : cases) {
    const test::ScopedZone zone(c.zone);
    CDateTime value = Sample();
    value.ToLocal();
    value.SetDaylight(c.daylight);
    const std::string iso = c.daylight == 0 ? " " + value.Format(kPatternIso8601Offset) : "";
    EXPECT_EQ(value.Format(pattern) + iso, c.expected) << c.zone << " daylight " << c.daylight;
  }
}

CDateTime Utc(int year, int month, int day, int hour, int minute, int second) {
  return CDateTime(year, month, day, hour, minute, second, 0);
}

// Whatever the local zone.
TEST(DateTimeParse, ReadsTheFieldsAsUtc) {
  const test::ScopedZone zone(test::kZoneFiveThirtyEast);
  struct Case {
    const char* pattern;
    const char* input;
    CDateTime expected;
  };
  const Case cases[] = {
      {kPatternHttpDate, "Thu, 05 Mar 2009 14:07:09 GMT", Utc(2009, 3, 5, 14, 7, 9)},
      {kPatternHttpDate, "Xyz, 05 Mar 2009 14:07:09 GMT", Utc(2009, 3, 5, 14, 7, 9)},  // the day name is not read
      {"dd MMM yyyy", "05 mar 2009", Utc(2009, 3, 5, 0, 0, 0)},
      {kPatternIso8601Offset, "2020-01-02T03:04:05-05:30", Utc(2020, 1, 2, 8, 34, 5)},
      {kPatternIso8601Offset, "2020-01-02T03:04:05 02:00", Utc(2020, 1, 2, 1, 4, 5)},  // any sign but '-' is plus
      {"yyyy-MM-ddTHH:mm:ssz", "2020-01-01T00:30:00+01:00", Utc(2019, 12, 31, 23, 30, 0)},
      {kPatternIso8601Utc, "2020-01-02T03:04:05", Utc(2020, 1, 2, 3, 4, 5)},  // "Z" consumes nothing
      {kPatternShortDate, "3/05/2024", Utc(2024, 3, 5, 0, 0, 0)},
      {"yyyy-MM-dd", "2024-13-40", Utc(2025, 2, 9, 0, 0, 0)},
      {"yyyyMMddhhmmss", "20240305070809", Utc(2024, 3, 5, 7, 8, 9)},
      {"yyyyyyyyy", "000002024", Utc(2024, 0, 0, 0, 0, 0)},  // the longest number
      {"yyyy t", "2024 t", Utc(2024, 0, 0, 0, 0, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    CDateTime value = CDateTime::Now(1);
    ASSERT_TRUE(value.Parse(c.pattern, c.input));
    EXPECT_EQ(value.Seconds(), c.expected.Seconds());
    EXPECT_EQ(value.Millisecond() + value.Local() + value.ZoneOffset() + value.Daylight(), 0);
  }
}

struct Failure {
  const char* pattern;
  std::string input;
  const char* report;
};

const Failure kFailures[] = {
    {"", "2024", "empty format string.\n"},
    {"yyyy", "", "empty input string.\n"},
    {kPatternIso8601Utc, "2020-01-02T03:04:05Z", "Extra characters in input string 'Z'.\n"},
    {kPatternShortDate, "12/05/2024", "Expecting '/' found '2'.\n"},
    {"yyyy", "202", "Number of year digits less than format. ('202')\n"},
    {"yyyy", "20a4", "year digits not all numeric. ('20a4')\n"},
    {"dd MMM", "05 Xyz", ""},  // an unknown month name fails without a word
    {"ddd dd", "Th", "Number of day digits less than format. ('Th')\n"},
    {"HHzzz", "10+02", "Number of offset digits less than format. ('+02')\n"},
    {"HHzzz", "10+02-00", "Expecting ':' found '-'.\n"},
    {"yyyyyyyyyy", "2024000000", "Number of year digits more than 9. ('yyyyyyyyyy')\n"},
    {"HH:mm", "14", "Expecting ':' found end of input.\n"},
    {"t", "x", "Expecting 't' found 'x'.\n"},
    {"yyyy-MM-dd", "1969-12-31", "Date out of range. ('1969-12-31')\n"},
    {"yyyy", std::string("20\0004", 4), "year digits not all numeric. ('20')\n"},
};

TEST(DateTimeParse, FailuresReportWhenAskedAndLeaveTheValue) {
  for (const Failure& f : kFailures) {
    for (const bool reports : {false, true}) {
      SCOPED_TRACE(f.pattern + std::string(" / ") + f.input);
      CDateTime value(2001, 2, 3, 4, 5, 6, 0);
      value.SetErrorReports(reports);
      testing::internal::CaptureStdout();
      EXPECT_FALSE(value.Parse(f.pattern, f.input));
      EXPECT_EQ(testing::internal::GetCapturedStdout(), reports ? f.report : "");
      EXPECT_EQ(value.Seconds(), CDateTime(2001, 2, 3, 4, 5, 6, 0).Seconds());
    }
  }
}

constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();

TEST(TimeSpan, TotalsTruncateTowardZeroAndSaturateAndFormat) {
  struct Case {
    double seconds;
    std::int32_t days, hours, minutes, wholeSeconds, milliseconds;
  };
  const Case cases[] = {
      {93784.5, 1, 26, 1563, 93784, 93784500},
      {-93784.5, -1, -26, -1563, -93784, -93784500},
      {4.005, 0, 0, 0, 4, 4005},  // a binary fraction just below 5 ms
      {1e300, kInt32Max, kInt32Max, kInt32Max, kInt32Max, kInt32Max},
      {-1e300, kInt32Min, kInt32Min, kInt32Min, kInt32Min, kInt32Min},
      {std::numeric_limits<double>::quiet_NaN(), 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    const CTimeSpan span(c.seconds);
    EXPECT_EQ((std::vector<std::int32_t>{span.TotalDays(), span.TotalHours(), span.TotalMinutes(), span.TotalSeconds(),
                                         span.TotalMilliseconds()}),
              (std::vector<std::int32_t>{c.days, c.hours, c.minutes, c.wholeSeconds, c.milliseconds}))
        << c.seconds;
  }
  EXPECT_EQ(CTimeSpan(1, 2, 3, 4, 500).Seconds() + CTimeSpan::FromFourDayPeriods(2).Seconds(), 93784.5 + 8 * 86400);
  EXPECT_DOUBLE_EQ(CTimeSpan::FromDays(kInt32Max).Seconds(), 86400.0 * kInt32Max);
  struct Format {
    double seconds;
    const char* pattern;
    const char* expected;
  };
  const Format formats[] = {
      {-90061.5, "d.hh:mm:ss.fff", "-1.01:01:01.500"},
      {90061.5, kPatternTimeSpan, "001 01:01:01.50"},
      {90061.5, "dd|hhh|HHH|H|mmm|m|sss|s|ffff|ff|f", "01|25|25|1|1501|1|90061|1|90061500|50|5"},
      {59.9999999, "ss.fff", "00.000"},  // rounds to the microsecond first: a whole minute
      {0.25, "'Elapsed' s\\s", "Elapsed 0s"},
      {1e300, "sss", "9223372036854775807"},
      {-0.5, "s.f", "-0.5"},
  };
  for (const Format& c : formats) {
    const CTimeSpan span(c.seconds);
    EXPECT_EQ(span.Format(c.pattern), c.expected) << c.seconds << " " << c.pattern;
    EXPECT_DOUBLE_EQ(span.Seconds(), c.seconds);
  }
  // Date span fields saturate too.
  CDateSpan span(1, 2, 3, 4, 5, 6, 7, 8);
  span += CDateSpan(1, 1, 1, 1, 1, 1, 1, 1);
  span -= CDateSpan(2, 2, 2, 2, 2, 2, 2, 2);
  span *= -3;
  EXPECT_EQ(span.Format("y M w d h m s f"), "0 -3 -6 -9 -12 -15 -18 -21");
  CDateSpan big = CDateSpan::FromYears(kInt32Max);
  big += CDateSpan::FromYears(1);
  EXPECT_EQ(big.Years(), kInt32Max);
  big *= -2;
  big -= CDateSpan::FromYears(1);
  EXPECT_EQ(big.Years(), kInt32Min);
  EXPECT_EQ(CDateSpan(1, 2, 3, 4, 5, 6, 7, 8).Format(),
            "1 Years, 2 months, 3 weeks, 4 days, H hours, 6 minutes, 7 seconds, and 8 milliseconds");
  EXPECT_EQ(CDateSpan(12, 0, 0, 0, 0, 0, 0, 0).Format("yy-YY"), "1212-YY");  // every letter is one token
  EXPECT_EQ(CDateSpan(0, 0, 0, 0, 0, 0, -5, 0).Format("\"s\"=s"), "s=-5");
}

}  // namespace
}  // namespace velinst
