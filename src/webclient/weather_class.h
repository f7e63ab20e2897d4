// The "Weather" method group: the conditions now and a forecast of several
// days for a latitude and longitude.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "webclient/rk_class.h"
#include "webclient/weather_records.h"

namespace velinst {

struct CRKCurrentWeatherResult {
  std::int32_t code = 0;
  CRKCurrentWeatherRecord weather;  // nothing present when the answer had none
};

struct CRKForecastResult {
  std::int32_t code = 0;
  std::vector<CRKForecastDay> days;  // in answer order
};

class CRKWeatherClass : public CRKClass {
 public:
  CRKCurrentWeatherResult GetCurrentByLatLon(const std::string& authToken, double latitude, double longitude);
  CRKForecastResult GetForecastByLatLon(const std::string& authToken, double latitude, double longitude);

 private:
  // Both methods take the same three parameters.
  std::int32_t SendPlace(const char* method, const std::string& authToken, double latitude, double longitude,
                         IRKParser& parser);
};

}  // namespace velinst
