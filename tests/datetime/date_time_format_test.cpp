#include <gtest/gtest.h>

#include "datetime/date_time.h"
#include "datetime/date_time_names.h"
#include "datetime/time_conversions.h"
#include "zone_environment.h"

namespace velinst {
namespace {

struct Case {
  const char* pattern;
  const char* expected;
};

void ExpectFormats(const CDateTime& value, std::initializer_list<Case> cases) {
  for (const Case& c : cases) EXPECT_EQ(value.Format(c.pattern), c.expected) << "pattern " << c.pattern;
}

// 2009-03-05 14:07:09.007 UTC, a Thursday.
CDateTime Sample(std::uint32_t milliseconds = 7) {
  CDateTime value(2009, 3, 5, 14, 7, 9, 0);
  value.SetSeconds(value.Seconds(), milliseconds);
  return value;
}

TEST(DateTimeFormat, NamedPatterns) {
  ExpectFormats(Sample(), {
                              {kPatternHttpDate, "Thu, 05 Mar 2009 14:07:09 GMT"},
                              {kPatternDayMonthTimeYear, "Thu Mar 05 14:07:09 2009"},
                              {kPatternDayMonthTimeYearLine, "Thu Mar 05 14:07:09 2009\n"},
                              {kPatternNumericDateTime, "03/05/2009 14:07:09"},
                              {kPatternTime12, "02:07:09 PM"},
                              {kPatternShortDate, "3/05/2009"},
                              {kPatternIso8601Offset, "2009-03-05T14:07:09+00:00"},
                              {kPatternIso8601Utc, "2009-03-05T14:07:09Z"},
                          });
  const CDateTime value(2024, 3, 5, 7, 8, 9, 0);
  EXPECT_EQ(value.DateString(), "3/05/2024");
  EXPECT_EQ(value.TimeString(), "07:08:09 AM");
}

TEST(DateTimeFormat, DayMonthAndYearLetters) {
  ExpectFormats(Sample(), {
                              {"dddd", "Thursday"},
                              {"ddd", "Thu"},
                              {"dd", "05"},
                              {"d", "5"},
                              {"ddddd", "Thursday5"},  // longest token first, then the rest
                              {"MMMM", "March"},
                              {"MMM", "Mar"},
                              {"MM", "03"},
                              {"M", "3"},
                              {"MMMMMM", "March03"},
                              {"yyyyy", "02009"},
                              {"yyyy", "2009"},
                              {"yyy", "2009"},
                              {"yy", "09"},
                              {"y", "9"},
                              {"mm:ss", "07:09"},
                              {"m/s", "7/9"},
                              {"g gg", "A.D. A.D."},
                          });
  ExpectFormats(CDateTime(2000, 12, 31, 0, 0, 0, 0), {{"y yy dddd MMMM", "0 00 Sunday December"}});
}

TEST(DateTimeFormat, HourLettersAndTheMorningBoundaryAtThirteen) {
  struct HourCase {
    int hour;
    const char* expected;  // "hh h HH H tt t"
  };
  const HourCase cases[] = {
      {0, "12 12 00 0 AM A"},  {5, "05 5 05 5 AM A"},    {12, "12 12 12 12 AM A"},
      {13, "01 1 13 13 PM P"}, {23, "11 11 23 23 PM P"},
  };
  for (const HourCase& c : cases) {
    const CDateTime value(2020, 1, 1, c.hour, 30, 0, 0);
    EXPECT_EQ(value.Format("hh h HH H tt t"), c.expected) << "hour " << c.hour;
  }
  EXPECT_EQ(CDateTime(2020, 1, 1, 0, 5, 0, 0).Format(kPatternTime12), "12:05:00 AM");
  EXPECT_EQ(CDateTime(2020, 1, 1, 12, 30, 0, 0).Format(kPatternTime12), "12:30:00 AM");
  EXPECT_EQ(CDateTime(2020, 1, 1, 13, 0, 0, 0).Format(kPatternTime12), "01:00:00 PM");
}

TEST(DateTimeFormat, FractionLetters) {
  ExpectFormats(Sample(7), {
                               {"fffffff", "0070000"},
                               {"ffffff", "007000"},
                               {"fffff", "00700"},
                               {"ffff", "0070"},
                               {"fff", "007"},
                               {"ff", "00"},
                               {"f", "0"},
                               {"ffffffff", "00700000"},  // seven, then one more
                               {"FFF", "007"},
                               {"FF.", "."},  // 0 hundredths: nothing
                           });
  ExpectFormats(Sample(950), {{"f", "9"}, {"ff", "95"}, {"F", "9"}, {"FFFFFFF", "9500000"}});
  ExpectFormats(Sample(0), {{"[FFF]", "[]"}, {"[F]", "[]"}, {"fff", "000"}});
}

TEST(DateTimeFormat, QuotesEscapesAndCopiedCharacters) {
  ExpectFormats(Sample(), {
                              {"'word' HH", "word 14"},
                              {"\"Day\" d", "Day 5"},
                              {"'HH:mm'", "HH:mm"},
                              {"'Won", "\"Won"},  // no closing quote: a double quote
                              {"\"Won", "\"Won"},
                              {"''", ""},
                              {"\\y", "y"},
                              {"\\\\", "\\"},
                              {"\\\\y", "\\9"},
                              {"HH\\", "14"},  // a final backslash writes nothing
                              {"%%", "<NIY:%%>"},
                              {"%", "%"},
                              {"100%", "100%"},
                              {"[:/-.,]", "[:/-.,]"},
                              {"xqbnp", "xqbnp"},
                              {"", ""},
                          });
}

struct ZoneCase {
  const char* zone;
  int daylight;
  const char* expected;  // "K|zzz|zz|z"
};

TEST(DateTimeFormat, ZoneLettersOfUtcAndLocalValues) {
  const char* const pattern = "K|zzz|zz|z";
  EXPECT_EQ(Sample().Format(pattern), "Z|+00:00|+00|+00");
  EXPECT_EQ(Sample().Format(kPatternIso8601Offset), "2009-03-05T14:07:09+00:00");
  const ZoneCase cases[] = {
      {test::kZoneFiveWest, 0, "-05:00|-05:00|-05|-5"},
      {test::kZoneFiveWest, 1, "-05:00|-04:00|-05|-5"},  // only "zzz" minds daylight saving
      {test::kZoneFiveThirtyEast, 0, "+05:30|+05:30|+05|+5"},
      {test::kZoneFiveThirtyEast, 1, "+05:30|+06:30|+05|+5"},
      {test::kZoneUtc, 0, "Z|+00:00|+00|+00"},
      {"CET-1", 1, "+01:00|+02:00|+01|+1"},
      {"WAT1", 1, "-01:00|+00:00|-01|-1"},  // daylight brings "zzz" to zero
  };
  for (const ZoneCase& c : cases) {
    const test::ScopedZone zone(c.zone);
    CDateTime value = Sample();
    value.ToLocal();
    value.SetDaylight(c.daylight);
    EXPECT_EQ(value.Format(pattern), c.expected) << c.zone << " daylight " << c.daylight;
  }
}

TEST(DateTimeFormat, LocalFieldsInIsoPattern) {
  {
    const test::ScopedZone zone(test::kZoneFiveWest);
    CDateTime value = Sample();
    value.ToLocal();
    EXPECT_EQ(value.Format(kPatternIso8601Offset), "2009-03-05T09:07:09-05:00");
  }
  {
    const test::ScopedZone zone(test::kZoneFiveThirtyEast);
    CDateTime value = Sample();
    value.ToLocal();
    EXPECT_EQ(value.Format(kPatternIso8601Offset), "2009-03-05T19:37:09+05:30");
  }
}

TEST(DateTimeFormat, ValueOutsideTheRangeFormatsWithoutNames) {
  CDateTime value;
  value.SetSeconds(kLatestTime + 1, 0);
  EXPECT_EQ(value.Format("dddd ddd MMMM MMM|yyyy-MM-dd HH:mm:ss"), "   |1899-00--1 -1:-1:-1");
}

}  // namespace
}  // namespace velinst
