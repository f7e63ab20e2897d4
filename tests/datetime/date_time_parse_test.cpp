#include <gtest/gtest.h>

#include <string>

#include "datetime/date_time.h"
#include "datetime/date_time_names.h"
#include "zone_environment.h"

namespace velinst {
namespace {

CDateTime Utc(int year, int month, int day, int hour, int minute, int second) {
  return CDateTime(year, month, day, hour, minute, second, 0);
}

TEST(DateTimeParse, ReadsTheFieldsAsUtc) {
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

TEST(DateTimeParse, ResultDoesNotDependOnTheLocalZone) {
  const test::ScopedZone zone(test::kZoneFiveThirtyEast);
  CDateTime value;
  ASSERT_TRUE(value.Parse(kPatternHttpDate, "Thu, 05 Mar 2009 14:07:09 GMT"));
  EXPECT_EQ(value.Format(kPatternHttpDate), "Thu, 05 Mar 2009 14:07:09 GMT");
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

}  // namespace
}  // namespace velinst
