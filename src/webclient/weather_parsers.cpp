#include "webclient/weather_parsers.h"

#include <utility>

namespace velinst {

void CRKCurrentWeather::Parse(CXMLNodeCursor& cursor) {
  if (!ElementNamed(cursor, "CurrentWeather")) return;
  SetFilled();
  ReadRecordChildren(cursor, weather_);
}

void CRKForecast::Parse(CXMLNodeCursor& cursor) {
  if (!ElementNamed(cursor, "Forecast")) return;
  SetFilled();
  for (CXMLNodeCursor* item = cursor.ChildCursor(); item != nullptr;) {
    if (!ElementNamed(*item, "WeatherForecast")) return;
    CRKForecastDay day;
    ReadRecordChildren(*item, day);
    days_.push_back(std::move(day));
    if (!item->NextSibling()) return;
  }
}

}  // namespace velinst
