#include <gtest/gtest.h>

#include "datetime/date_time.h"
#include "datetime/date_time_names.h"
#include "datetime/time_conversions.h"
#include "zone_environment.h"

namespace velinst {
namespace {

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

TEST(DateTimeFormat, NamedPatterns) {
  ExpectFormats(Sample(), {kPatternDayMonthTimeYear, "Thu Mar 05 14:07:09 2009", kPatternDayMonthTimeYearLine,
                           "Thu Mar 05 14:07:09 2009\n", kPatternNumericDateTime, "03/05/2009 14:07:09", kPatternTime12,
                           "02:07:09 PM", kPatternShortDate, "3/05/2009", kPatternIso8601Offset,
                           "2009-03-05T14:07:09+00:00", kPatternIso8601Utc, "2009-03-05T14:07:09Z"});
  const CDateTime value(2024, 3, 5, 7, 8, 9, 0);
  EXPECT_EQ(value.DateString() + " " + value.TimeString(), "3/05/2024 07:08:09 AM");
}

// Each run of a letter is one token, the longest known first ("ddddd" is
// "dddd" then "d").
TEST(DateTimeFormat, DateLettersAndFractions) {
  ExpectFormats(
      Sample(),
      {"dddd|ddd|dd|d|ddddd|MMMM|MMM|MM|M|MMMMMM|yyyyy|yyyy|yyy|yy|y|mm:ss|m/s|g gg",
       "Thursday|Thu|05|5|Thursday5|March|Mar|03|3|March03|02009|2009|2009|09|9|07:09|7/9|A.D. A.D.",
       // Seven digits at most, then one more; upper case drops zeros at the end.
       "fffffff|ffffff|fffff|ffff|fff|ff|f|ffffffff|FFF|FF.", "0070000|007000|00700|0070|007|00|0|00700000|007|."});
  ExpectFormats(Sample(950), {"f|ff|F|FFFFFFF", "9|95|9|9500000"});
  ExpectFormats(Sample(0), {"[FFF]|[F]|fff", "[]|[]|000"});
}

TEST(DateTimeFormat, HourLettersAndTheMorningBoundaryAtThirteen) {
  const std::pair<int, const char*> cases[] = {{0, "12 12 00 0 AM A 12:30:00 AM"},
                                               {5, "05 5 05 5 AM A 05:30:00 AM"},
                                               {12, "12 12 12 12 AM A 12:30:00 AM"},
                                               {13, "01 1 13 13 PM P 01:30:00 PM"},
                                               {23, "11 11 23 23 PM P 11:30:00 PM"}};
  for (const auto& [hour, expected] : cases)
    EXPECT_EQ(CDateTime(2020, 1, 1, hour, 30, 0, 0).Format(std::string("hh h HH H tt t ") + kPatternTime12), expected);
}

TEST(DateTimeFormat, QuotesEscapesAndCopiedCharacters) {
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

TEST(DateTimeFormat, ValueOutsideTheRangeFormatsWithoutNames) {
  CDateTime value;
  value.SetSeconds(kLatestTime + 1, 0);
  EXPECT_EQ(value.Format("dddd ddd MMMM MMM|yyyy-MM-dd HH:mm:ss"), "   |1899-00--1 -1:-1:-1");
}

}  // namespace
}  // namespace velinst
