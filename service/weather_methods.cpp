// The "Weather" group: current conditions and a forecast for a place.
#include <cmath>

#include "method_table.h"
#include "service_error.h"
#include "weather_model.h"

namespace velinst::service {
namespace {

struct Place {
  double latitude;
  double longitude;
};

Place ReadPlace(const MethodContext& context) {
  const Place place{context.Real("latitude"), context.Real("longitude")};
  if (std::fabs(place.latitude) > 90 || std::fabs(place.longitude) > 180)
    throw ServiceError(error_type::kParameterOutOfRange, "The position is off the earth");
  return place;
}

void GetCurrent(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const Place place = ReadPlace(context);
  const CurrentWeather weather = CurrentWeatherAt(place.latitude, place.longitude, context.Now());
  AnswerWriter& answer = context.Answer();
  answer.Open("CurrentWeather");
  answer.Element("BarometricPressure", RealText(weather.barometricPressure, 2));
  answer.Element("ClientID", caller.userId);
  answer.Element("ConditionID", weather.conditionId);
  answer.Element("DewPoint", RealText(weather.dewPoint, 1));
  answer.Element("HeatIndex", RealText(weather.heatIndex, 1));
  answer.Element("Humidity", RealText(weather.humidity, 0));
  answer.Element("ID", weather.id);
  answer.Element("Temperature", RealText(weather.temperature, 1));
  answer.Element("Timestamp", weather.timestamp);
  answer.Element("WindChill", RealText(weather.windChill, 1));
  answer.Element("WindDirection", weather.windDirection);
  answer.Element("WindSpeed", RealText(weather.windSpeed, 1));
  answer.Close();
}

void GetForecast(MethodContext& context) {
  context.Authenticate();
  const Place place = ReadPlace(context);
  AnswerWriter& answer = context.Answer();
  answer.Open("Forecast");
  for (const ForecastDay& day : ForecastAt(place.latitude, place.longitude, context.Now())) {
    answer.Open("WeatherForecast");
    answer.Element("ConditionID", day.conditionId);
    answer.Element("DayOfWeekID", day.dayOfWeekId);
    answer.Element("High", RealText(day.high, 1));
    answer.Element("Low", RealText(day.low, 1));
    answer.Element("MoonPhaseID", day.moonPhaseId);
    answer.Element("Sunrise", day.sunrise);
    answer.Element("SunSet", day.sunset);
    answer.Close();
  }
  answer.Close();
}

constexpr MethodEntry kMethods[] = {
    {"Weather.GetCurrentByLatLon", GetCurrent},
    {"Weather.GetForecastByLatLon", GetForecast},
};

}  // namespace

std::span<const MethodEntry> WeatherMethods() { return kMethods; }

}  // namespace velinst::service
