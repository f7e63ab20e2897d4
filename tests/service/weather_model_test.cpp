#include "weather_model.h"

#include <gtest/gtest.h>

#include "service_clock.h"

namespace velinst::service {
namespace {

std::int64_t At(const char* text) { return *ParseTimestamp(text); }

TEST(WeatherModel, FiguresAreWithinTheirRangesAndConsistent) {
  const std::int64_t now = At("2024-05-01T00:00:00Z");
  for (double latitude = -90; latitude <= 90; latitude += 7.5) {
    for (double longitude = -180; longitude <= 180; longitude += 45) {
      const CurrentWeather w = CurrentWeatherAt(latitude, longitude, now);
      EXPECT_TRUE(w.conditionId >= 1 && w.conditionId <= 53 && w.humidity >= 20 && w.humidity <= 95 &&
                  w.dewPoint <= w.temperature + 0.1 && w.windChill <= w.temperature + 0.1 &&
                  w.heatIndex >= w.temperature - 5 && w.barometricPressure >= 29.5 && w.barometricPressure <= 30.5)
          << latitude << "," << longitude;
      const auto days = ForecastAt(latitude, longitude, now);
      ASSERT_EQ(days.size(), static_cast<std::size_t>(kForecastDays));
      EXPECT_TRUE(w.temperature >= days[0].low && w.temperature <= days[0].high) << latitude << "," << longitude;
    }
  }
}

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
