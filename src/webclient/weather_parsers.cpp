#include "webclient/weather_parsers.h"

#include <string>
#include <utility>

namespace velinst {

namespace {

// Offers every child of `element` with text to `set` (name, text).
template <typename Set>
void ReadFilledChildren(CXMLNodeCursor& element, Set set) {
  for (CXMLNodeCursor* child = element.ChildCursor(); child != nullptr;) {
    const std::string text = child->Text();
    if (!text.empty()) set(child->Name(), text);
    if (!child->NextSibling()) break;
  }
}

}  // namespace

void CRKCurrentWeather::Parse(CXMLNodeCursor& cursor) {
  if (!ElementNamed(cursor, "CurrentWeather")) return;
  SetFilled();
  ReadFilledChildren(cursor, [this](const std::string& name, const std::string& text) {
    SetCurrentWeatherField(weather_, name, text);
  });
}

void CRKForecast::Parse(CXMLNodeCursor& cursor) {
  if (!ElementNamed(cursor, "Forecast")) return;
  SetFilled();
  for (CXMLNodeCursor* item = cursor.ChildCursor(); item != nullptr;) {
    if (!ElementNamed(*item, "WeatherForecast")) return;
    CRKForecastDay day;
    ReadFilledChildren(
        *item, [&day](const std::string& name, const std::string& text) { SetForecastDayField(day, name, text); });
    days_.push_back(std::move(day));
    if (!item->NextSibling()) return;
  }
}

}  // namespace velinst
