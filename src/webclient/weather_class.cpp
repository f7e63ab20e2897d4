#include "webclient/weather_class.h"

#include "webclient/weather_parsers.h"

namespace velinst {

namespace {

CRKParameterList Place(const std::string& authToken, double latitude, double longitude) {
  return {{"authToken", authToken}, {"latitude", FixedText(latitude)}, {"longitude", FixedText(longitude)}};
}

}  // namespace

CRKCurrentWeatherResult CRKWeatherClass::GetCurrentByLatLon(const std::string& authToken, double latitude,
                                                            double longitude) {
  CRKCurrentWeather parser;
  const std::int32_t code =
      Send("Weather.GetCurrentByLatLon", Place(authToken, latitude, longitude), &parser, kRKPlain);
  return {code, parser.Weather()};
}

CRKForecastResult CRKWeatherClass::GetForecastByLatLon(const std::string& authToken, double latitude,
                                                       double longitude) {
  CRKForecast parser;
  const std::int32_t code =
      Send("Weather.GetForecastByLatLon", Place(authToken, latitude, longitude), &parser, kRKPlain);
  return {code, parser.Days()};
}

}  // namespace velinst
