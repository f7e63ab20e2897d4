// The answer parsers of the Weather group. Element names are compared
// without regard to case; elements a parser does not know, and elements
// with empty text, are passed over.
#pragma once

#include <vector>

#include "webclient/rk_parser.h"
#include "webclient/weather_records.h"

namespace velinst {

// "CurrentWeather": its children fill the record.
class CRKCurrentWeather : public IRKParser {
 public:
  void Parse(CXMLNodeCursor& cursor) override;
  const CRKCurrentWeatherRecord& Weather() const { return weather_; }

 private:
  CRKCurrentWeatherRecord weather_;
};

// "Forecast": one day for each "WeatherForecast" child, up to the first
// child of another name.
class CRKForecast : public IRKParser {
 public:
  void Parse(CXMLNodeCursor& cursor) override;
  const std::vector<CRKForecastDay>& Days() const { return days_; }

 private:
  std::vector<CRKForecastDay> days_;
};

}  // namespace velinst
