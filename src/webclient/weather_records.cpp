#include "webclient/weather_records.h"

#include <array>
#include <variant>

#include "platform/ascii_text.h"
#include "webclient/ad_record_fields.h"
#include "webclient/answer_values.h"

namespace velinst {

namespace {

using Current = CRKCurrentWeatherRecord;

struct CurrentField {
  const char* name;
  std::variant<CRKReported<std::int32_t> Current::*, CRKReported<double> Current::*,
               CRKReported<std::string> Current::*, std::int32_t Current::*>
      member;
};

constexpr std::array<CurrentField, 12> kCurrentFields{{
    {"BarometricPressure", &Current::barometricPressure},
    {"ClientID", &Current::clientId},
    {"ConditionID", &Current::conditionId},
    {"DewPoint", &Current::dewPoint},
    {"HeatIndex", &Current::heatIndex},
    {"Humidity", &Current::humidity},
    {"ID", &Current::id},
    {"Temperature", &Current::temperature},
    {"Timestamp", &Current::timestamp},
    {"WindChill", &Current::windChill},
    {"WindDirection", &Current::windDirection},
    {"WindSpeed", &Current::windSpeed},
}};

constexpr std::array<CRKADField<CRKForecastDay>, 7> kForecastDayFields{{
    {"ConditionID", &CRKForecastDay::conditionId},
    {"DayOfWeekID", &CRKForecastDay::dayOfWeekId},
    {"High", &CRKForecastDay::high},
    {"Low", &CRKForecastDay::low},
    {"MoonPhaseID", &CRKForecastDay::moonPhaseId},
    {"Sunrise", &CRKForecastDay::sunrise},
    {"SunSet", &CRKForecastDay::sunset},
}};

void Store(std::int32_t& target, std::string_view text) { target = LeadingIntegerValue(text); }
void Store(double& target, std::string_view text) { target = LeadingRealValue(text); }
void Store(std::string& target, std::string_view text) { target = std::string(text); }

template <typename T>
void Store(CRKReported<T>& target, std::string_view text) {
  Store(target.value, text);
  target.present = true;
}

}  // namespace

bool CRKCurrentWeatherRecord::SetField(std::string_view name, std::string_view text) {
  if (text.empty()) return false;
  for (const CurrentField& field : kCurrentFields) {
    if (!EqualIgnoringAsciiCase(field.name, name)) continue;
    std::visit([&](auto member) { Store(this->*member, text); }, field.member);
    return true;
  }
  return false;
}

bool CRKForecastDay::SetField(std::string_view name, std::string_view text) {
  return !text.empty() && SetRecordField<CRKForecastDay>(*this, kForecastDayFields, name, text);
}

}  // namespace velinst
