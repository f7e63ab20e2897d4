#include "weather_model.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "service_clock.h"

namespace velinst::service {
namespace {

constexpr double kRadians = std::numbers::pi / 180.0;
constexpr double kLunarMonth = 29.530588853;

// splitmix64: small, fast and good enough to spread neighbouring seeds.
class Generator {
 public:
  explicit Generator(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double Between(double low, double high) {
    return low + (high - low) * static_cast<double>(Next() >> 11) / static_cast<double>(1ull << 53);
  }
  template <typename T, std::size_t N>
  T Pick(const std::array<T, N>& choices) {
    return choices[Next() % N];
  }

 private:
  std::uint64_t state_;
};

std::uint64_t PlaceSeed(double latitude, double longitude, int day) {
  const auto lat = static_cast<std::int64_t>(std::llround(latitude * 10000));
  const auto lon = static_cast<std::int64_t>(std::llround(longitude * 10000));
  return static_cast<std::uint64_t>(lat) * 0x100000001B3ull ^ static_cast<std::uint64_t>(lon) * 0xC2B2AE3D27D4EB4Full ^
         static_cast<std::uint64_t>(day + 1) * 0x165667B19E3779F9ull;
}

struct DayFigures {
  double high;
  double low;
  int conditionId;
};

// Condition identifiers that suit the temperature.
int Condition(Generator& generator, double high) {
  static constexpr std::array<int, 8> kFreezing = {8, 9, 10, 43, 48, 51, 11, 17};
  static constexpr std::array<int, 8> kCold = {5, 7, 44, 50, 11, 16, 12, 14};
  static constexpr std::array<int, 16> kMild = {1, 2, 3, 11, 12, 13, 16, 17, 18, 19, 21, 22, 23, 25, 40, 14};
  if (high < 32) return generator.Pick(kFreezing);
  if (high < 40) return generator.Pick(kCold);
  return generator.Pick(kMild);
}

DayFigures Day(double latitude, double longitude, int day) {
  Generator generator(PlaceSeed(latitude, longitude, day));
  const double mean = 80.0 - 0.9 * std::fabs(latitude) + generator.Between(-10, 10);
  const double range = generator.Between(10, 25);
  const double high = std::round((mean + range / 2) * 10) / 10;
  const double low = std::round((mean - range / 2) * 10) / 10;
  return {high, low, Condition(generator, high)};
}

double FahrenheitToCelsius(double f) { return (f - 32) * 5 / 9; }
double CelsiusToFahrenheit(double c) { return c * 9 / 5 + 32; }

// Magnus formula.
double DewPoint(double temperature, double humidity) {
  const double celsius = FahrenheitToCelsius(temperature);
  const double gamma = std::log(humidity / 100.0) + 17.62 * celsius / (243.12 + celsius);
  return CelsiusToFahrenheit(243.12 * gamma / (17.62 - gamma));
}

// The National Weather Service's regression, for 80 degrees and above.
double HeatIndex(double t, double rh) {
  if (t < 80) return t;
  return -42.379 + 2.04901523 * t + 10.14333127 * rh - 0.22475541 * t * rh - 0.00683783 * t * t - 0.05481717 * rh * rh +
         0.00122874 * t * t * rh + 0.00085282 * t * rh * rh - 0.00000199 * t * t * rh * rh;
}

// The National Weather Service's formula, for 50 degrees and below with wind.
double WindChill(double t, double wind) {
  if (t > 50 || wind < 3) return t;
  const double v = std::pow(wind, 0.16);
  return 35.74 + 0.6215 * t - 35.75 * v + 0.4275 * t * v;
}

double Rounded(double value, double step) { return std::round(value / step) * step; }

std::string ClockText(double minutes) {
  const int total = static_cast<int>(std::lround(minutes)) % 1440;
  const int normal = total < 0 ? total + 1440 : total;
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", normal / 60, normal % 60);
  return text;
}

// Sunrise and sunset in local mean solar time (the NOAA approximation).
void SunTimes(double latitude, std::int64_t dayStart, ForecastDay& day) {
  const std::int64_t days = dayStart / 86400;
  const std::int64_t yearStart = *ParseTimestamp(FormatTimestamp(dayStart).substr(0, 4) + "-01-01");
  const double dayOfYear = static_cast<double>(days - yearStart / 86400);
  const double g = 2 * std::numbers::pi / 365.0 * dayOfYear;
  const double equationOfTime = 229.18 * (0.000075 + 0.001868 * std::cos(g) - 0.032077 * std::sin(g) -
                                          0.014615 * std::cos(2 * g) - 0.040849 * std::sin(2 * g));
  const double declination = 0.006918 - 0.399912 * std::cos(g) + 0.070257 * std::sin(g) - 0.006758 * std::cos(2 * g) +
                             0.000907 * std::sin(2 * g) - 0.002697 * std::cos(3 * g) + 0.00148 * std::sin(3 * g);
  const double phi = latitude * kRadians;
  const double cosine =
      std::cos(90.833 * kRadians) / (std::cos(phi) * std::cos(declination)) - std::tan(phi) * std::tan(declination);
  if (cosine > 1 || cosine < -1 || !std::isfinite(cosine)) {
    day.sunrise = day.sunset = "none";
    return;
  }
  const double hourAngle = std::acos(cosine) / kRadians;
  day.sunrise = ClockText(720 - 4 * hourAngle - equationOfTime);
  day.sunset = ClockText(720 + 4 * hourAngle - equationOfTime);
}

int MoonPhase(std::int64_t dayStart) {
  // 2000-01-06 18:14 UTC was a new moon.
  const double age = std::fmod((static_cast<double>(dayStart) + 43200 - 947182440.0) / 86400.0, kLunarMonth);
  const double normal = age < 0 ? age + kLunarMonth : age;
  return static_cast<int>(std::floor(normal / kLunarMonth * 8 + 0.5)) % 8;
}

}  // namespace

CurrentWeather CurrentWeatherAt(double latitude, double longitude, std::int64_t now) {
  const DayFigures today = Day(latitude, longitude, 0);
  Generator generator(PlaceSeed(latitude, longitude, -1));
  static constexpr std::array<const char*, 16> kCompass = {"N", "NNE", "NE", "ENE", "E", "ESE", "SE", "SSE",
                                                           "S", "SSW", "SW", "WSW", "W", "WNW", "NW", "NNW"};
  CurrentWeather weather;
  weather.temperature = Rounded(today.low + (today.high - today.low) * 0.6, 0.1);
  weather.humidity = Rounded(generator.Between(20, 95), 1);
  weather.windSpeed = Rounded(generator.Between(0, 25), 0.1);
  weather.windDirection = generator.Pick(kCompass);
  weather.barometricPressure = Rounded(generator.Between(29.5, 30.5), 0.01);
  weather.conditionId = today.conditionId;
  weather.dewPoint = Rounded(DewPoint(weather.temperature, weather.humidity), 0.1);
  weather.heatIndex = Rounded(HeatIndex(weather.temperature, weather.humidity), 0.1);
  weather.windChill = Rounded(WindChill(weather.temperature, weather.windSpeed), 0.1);
  weather.id = (std::llround(latitude * 10) + 900) * 3601 + (std::llround(longitude * 10) + 1800) + 1;
  weather.timestamp = FormatTimestamp(now - now % 3600);
  return weather;
}

std::vector<ForecastDay> ForecastAt(double latitude, double longitude, std::int64_t now) {
  std::vector<ForecastDay> days;
  const std::int64_t today = now - now % 86400;
  for (int i = 0; i < kForecastDays; ++i) {
    const std::int64_t dayStart = today + i * 86400;
    const DayFigures figures = Day(latitude, longitude, i);
    ForecastDay day;
    day.conditionId = figures.conditionId;
    day.high = figures.high;
    day.low = figures.low;
    day.dayOfWeekId = static_cast<int>((dayStart / 86400 + 4) % 7) + 1;  // 1970-01-01 was a Thursday
    day.moonPhaseId = MoonPhase(dayStart);
    SunTimes(latitude, dayStart, day);
    days.push_back(day);
  }
  return days;
}

}  // namespace velinst::service
