// Weather that is the same every time for a place: figures drawn from a
// generator seeded with the latitude and longitude (to 1/10000 degree),
// roughly by latitude's climate, with the derived figures (dew point, heat
// index, wind chill) computed from them as weather services do. Days of
// the week, sunrise, sunset and the moon's phase follow the real calendar.
// Temperatures in degrees Fahrenheit, wind in miles per hour, pressure in
// inches of mercury, humidity in percent.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velinst::service {

struct CurrentWeather {
  double barometricPressure = 0;
  int conditionId = 0;
  double dewPoint = 0;
  double heatIndex = 0;
  double humidity = 0;
  std::int64_t id = 0;  // the weather cell of the place (a tenth of a degree square)
  double temperature = 0;
  std::string timestamp;  // the hour of the observation
  double windChill = 0;
  std::string windDirection;  // a point of a 16-point compass
  double windSpeed = 0;
};

struct ForecastDay {
  int conditionId = 0;
  int dayOfWeekId = 0;  // 1 Sunday ... 7 Saturday
  double high = 0;
  double low = 0;
  int moonPhaseId = 0;  // 0 new moon ... 7 waning crescent
  std::string sunrise;  // local solar time "HH:MM", or "none" in polar day or night
  std::string sunset;
};

inline constexpr int kForecastDays = 7;

CurrentWeather CurrentWeatherAt(double latitude, double longitude, std::int64_t now);
// kForecastDays days from the (UTC) day of `now`.
std::vector<ForecastDay> ForecastAt(double latitude, double longitude, std::int64_t now);

}  // namespace velinst::service
