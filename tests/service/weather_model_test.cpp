#include "weather_model.h"

#include <gtest/gtest.h>

#include "service_clock.h"

namespace velinst::service {
namespace {

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
