#include "webclient/weather_class.h"

#include "webclient/weather_parsers.h"

namespace velinst {

std::int32_t CRKWeatherClass::SendPlace(const char* method, const std::string& authToken, double latitude,
                                        double longitude, IRKParser& parser) {
  return Send(method,
              {{"authToken", authToken}, {"latitude", FixedText(latitude)}, {"longitude", FixedText(longitude)}},
              &parser, kRKPlain);
}

CRKResult<CRKCurrentWeatherRecord> CRKWeatherClass::GetCurrentByLatLon(const std::string& authToken, double latitude,
                                                                       double longitude) {
  CRKCurrentWeather parser;
  const std::int32_t code = SendPlace("Weather.GetCurrentByLatLon", authToken, latitude, longitude, parser);
  return {code, parser.Weather()};
}

CRKResult<std::vector<CRKForecastDay>> CRKWeatherClass::GetForecastByLatLon(const std::string& authToken,
                                                                            double latitude, double longitude) {
  CRKForecast parser;
  const std::int32_t code = SendPlace("Weather.GetForecastByLatLon", authToken, latitude, longitude, parser);
  return {code, parser.Days()};
}

}  // namespace velinst
