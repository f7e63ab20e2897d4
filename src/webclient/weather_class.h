// The "Weather" method group: the conditions now and a forecast of several
// days for a latitude and longitude.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "webclient/result_code.h"
#include "webclient/rk_class.h"
#include "webclient/weather_records.h"

namespace velinst {

class CRKWeatherClass : public CRKClass {
 public:
  // Nothing is present when the answer had no current conditions.
  CRKResult<CRKCurrentWeatherRecord> GetCurrentByLatLon(const std::string& authToken, double latitude,
                                                        double longitude);
  // The days in answer order.
  CRKResult<std::vector<CRKForecastDay>> GetForecastByLatLon(const std::string& authToken, double latitude,
                                                             double longitude);

 private:
  // Both methods take the same three parameters.
  std::int32_t SendPlace(const char* method, const std::string& authToken, double latitude, double longitude,
                         IRKParser& parser);
};

}  // namespace velinst
