#include "service_clock.h"
#include "weather_model.h"

#include <gtest/gtest.h>

namespace velinst::service {
namespace {

TEST(ServiceClock, TimestampsRoundTripAndParseTheFormsClientsSend) {
  for (const std::int64_t seconds : {0LL, 951782400LL /* 2000-02-29 */, 1714566896LL, 4102444799LL})
    EXPECT_EQ(ParseTimestamp(FormatTimestamp(seconds)), seconds) << FormatTimestamp(seconds);
  EXPECT_EQ(FormatTimestamp(1714566896), "2024-05-01T12:34:56Z");
  // The forms clients send.
  EXPECT_EQ(ParseTimestamp("2024-05-01T12:34:56"), 1714566896);
  EXPECT_EQ(ParseTimestamp("2024-05-01 12:34:56.250Z"), 1714566896);
  EXPECT_EQ(ParseTimestamp("2024-05-01"), 1714521600);
  for (const char* bad : {"", "2024-5-01", "2024-02-30", "2023-02-29", "2024-05-01T24:00:00", "2024-05-01T12:34",
                          "2024-05-01T12:34:56+02:00", "2024-05-01T12:34:56.", "yesterday"})
    EXPECT_FALSE(ParseTimestamp(bad).has_value()) << bad;
}

std::int64_t At(const char* text) { return *ParseTimestamp(text); }

TEST(WeatherModel, CalendarFiguresFollowTheRealCalendar) {
  // 2024-05-01 was a Wednesday.
  const auto days = ForecastAt(0, 0, At("2024-05-01T15:00:00Z"));
  EXPECT_EQ(days[0].dayOfWeekId, 4);
  EXPECT_EQ(days[4].dayOfWeekId, 1);
  EXPECT_TRUE(days[0].sunrise >= "05:40" && days[0].sunrise <= "06:10") << days[0].sunrise;
  EXPECT_TRUE(days[0].sunset >= "17:50" && days[0].sunset <= "18:20") << days[0].sunset;
  // The moon was full on 2024-01-25 and new on 2024-01-11.
  EXPECT_EQ(ForecastAt(0, 0, At("2024-01-25T00:00:00Z"))[0].moonPhaseId, 4);
  EXPECT_EQ(ForecastAt(0, 0, At("2024-01-11T00:00:00Z"))[0].moonPhaseId, 0);
  // Polar night and polar day.
  EXPECT_EQ(ForecastAt(80, 0, At("2024-12-21T00:00:00Z"))[0].sunrise, "none");
  EXPECT_EQ(ForecastAt(80, 0, At("2024-06-21T00:00:00Z"))[0].sunset, "none");
}

}  // namespace
}  // namespace velinst::service
