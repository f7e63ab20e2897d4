#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "datetime/date_span.h"
#include "datetime/time_span.h"

namespace velinst {
namespace {

constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();

TEST(TimeSpan, TotalsTruncateTowardZeroAndSaturate) {
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
}

TEST(TimeSpan, Format) {
  struct Case {
    double seconds;
    const char* pattern;
    const char* expected;
  };
  const Case cases[] = {
      {-90061.5, "d.hh:mm:ss.fff", "-1.01:01:01.500"},
      {90061.5, kPatternTimeSpan, "001 01:01:01.50"},
      {90061.5, "dd|hhh|HHH|H|mmm|m|sss|s|ffff|ff|f", "01|25|25|1|1501|1|90061|1|90061500|50|5"},
      {59.9999999, "ss.fff", "00.000"},  // rounds to the microsecond first: a whole minute
      {0.25, "'Elapsed' s\\s", "Elapsed 0s"},
      {1e300, "sss", "9223372036854775807"},
      {-0.5, "s.f", "-0.5"},
  };
  for (const Case& c : cases) {
    const CTimeSpan span(c.seconds);
    EXPECT_EQ(span.Format(c.pattern), c.expected) << c.seconds << " " << c.pattern;
    EXPECT_DOUBLE_EQ(span.Seconds(), c.seconds);
  }
}

TEST(DateSpan, FieldArithmeticSaturates) {
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
}

TEST(DateSpan, Format) {
  EXPECT_EQ(CDateSpan(1, 2, 3, 4, 5, 6, 7, 8).Format(),
            "1 Years, 2 months, 3 weeks, 4 days, H hours, 6 minutes, 7 seconds, and 8 milliseconds");
  EXPECT_EQ(CDateSpan(12, 0, 0, 0, 0, 0, 0, 0).Format("yy-YY"), "1212-YY");  // every letter is one token
  EXPECT_EQ(CDateSpan(0, 0, 0, 0, 0, 0, -5, 0).Format("\"s\"=s"), "s=-5");
}

}  // namespace
}  // namespace velinst
