#include "weather_model.h"

#include <gtest/gtest.h>

#include "service_clock.h"

namespace velinst::service {
namespace {

std::int64_t At(const char* text) { return *ParseTimestamp(text); }

TEST(WeatherModel, SamePlaceSameWeather) {
  const std::int64_t now = At("2024-05-01T12:34:56Z");
  const CurrentWeather a = CurrentWeatherAt(45.5, -110.25, now);
  const CurrentWeather b = CurrentWeatherAt(45.5, -110.25, now + 100);
  EXPECT_EQ(a.temperature, b.temperature);
  EXPECT_EQ(a.conditionId, b.conditionId);
  EXPECT_EQ(a.windDirection, b.windDirection);
  EXPECT_EQ(a.barometricPressure, b.barometricPressure);
  EXPECT_EQ(a.timestamp, "2024-05-01T12:00:00Z");
  const CurrentWeather elsewhere = CurrentWeatherAt(-33.9, 18.4, now);
  EXPECT_FALSE(elsewhere.temperature == a.temperature && elsewhere.humidity == a.humidity &&
               elsewhere.windSpeed == a.windSpeed);
}

TEST(WeatherModel, FiguresAreWithinTheirRangesAndConsistent) {
  const std::int64_t now = At("2024-05-01T00:00:00Z");
  for (double latitude = -90; latitude <= 90; latitude += 7.5) {
    for (double longitude = -180; longitude <= 180; longitude += 45) {
      const CurrentWeather w = CurrentWeatherAt(latitude, longitude, now);
      EXPECT_GE(w.conditionId, 1);
      EXPECT_LE(w.conditionId, 53);
      EXPECT_GE(w.humidity, 20);
      EXPECT_LE(w.humidity, 95);
      EXPECT_LE(w.dewPoint, w.temperature + 0.1);
      EXPECT_LE(w.windChill, w.temperature + 0.1);
      EXPECT_GE(w.heatIndex, w.temperature - 5);
      EXPECT_GE(w.barometricPressure, 29.5);
      EXPECT_LE(w.barometricPressure, 30.5);
      EXPECT_GT(w.id, 0);
      const auto days = ForecastAt(latitude, longitude, now);
      ASSERT_EQ(days.size(), static_cast<std::size_t>(kForecastDays));
      EXPECT_GE(w.temperature, days[0].low);
      EXPECT_LE(w.temperature, days[0].high);
      for (const ForecastDay& day : days) EXPECT_LT(day.low, day.high);
    }
  }
}

TEST(WeatherModel, CalendarFiguresFollowTheRealCalendar) {
  // 2024-05-01 was a Wednesday.
  const auto days = ForecastAt(0, 0, At("2024-05-01T15:00:00Z"));
  EXPECT_EQ(days[0].dayOfWeekId, 4);
  EXPECT_EQ(days[4].dayOfWeekId, 1);
  EXPECT_GE(days[0].sunrise, "05:40");
  EXPECT_LE(days[0].sunrise, "06:10");
  EXPECT_GE(days[0].sunset, "17:50");
  EXPECT_LE(days[0].sunset, "18:20");
  // The moon was full on 2024-01-25 and new on 2024-01-11.
  EXPECT_EQ(ForecastAt(0, 0, At("2024-01-25T00:00:00Z"))[0].moonPhaseId, 4);
  EXPECT_EQ(ForecastAt(0, 0, At("2024-01-11T00:00:00Z"))[0].moonPhaseId, 0);
  // Polar night and polar day.
  EXPECT_EQ(ForecastAt(80, 0, At("2024-12-21T00:00:00Z"))[0].sunrise, "none");
  EXPECT_EQ(ForecastAt(80, 0, At("2024-06-21T00:00:00Z"))[0].sunset, "none");
}

}  // namespace
}  // namespace velinst::service
