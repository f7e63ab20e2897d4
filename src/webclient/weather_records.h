// The records that the "Weather" answers fill: the conditions at a place
// now, and one day of its forecast.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velinst {

// A value of the current conditions and whether the answer gave it; the
// value carries no meaning while `present` is false.
template <typename T>
struct CRKReported {
  T value{};
  bool present = false;
};

struct CRKCurrentWeatherRecord {
  // Stores `text` in the field whose answer element is called `name` (in
  // any letter case) and marks it present; an empty text, or a name the
  // record does not have, changes nothing (false).
  bool SetField(std::string_view name, std::string_view text);

  CRKReported<double> barometricPressure;
  CRKReported<std::int32_t> clientId;
  CRKReported<std::int32_t> conditionId{-1};
  CRKReported<double> dewPoint;
  CRKReported<double> heatIndex;
  CRKReported<double> humidity;
  // Has no present flag; 0 when the answer carries no "ID".
  std::int32_t id = 0;
  CRKReported<double> temperature;
  CRKReported<std::string> timestamp;
  CRKReported<double> windChill;
  CRKReported<std::string> windDirection;
  CRKReported<double> windSpeed;
};

// The values an answer leaves out stay as they start; a day without "High"
// or "Low" gets 0 there.
struct CRKForecastDay {
  // As CRKCurrentWeatherRecord::SetField, without present flags.
  bool SetField(std::string_view name, std::string_view text);

  std::int32_t conditionId = -1;
  std::int32_t dayOfWeekId = 0;
  double high = 0.0;
  double low = 0.0;
  std::int32_t moonPhaseId = 0;
  std::string sunrise;
  std::string sunset;
};

}  // namespace velinst
