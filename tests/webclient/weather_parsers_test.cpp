#include "webclient/weather_parsers.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "document_test_support.h"
#include "webclient/weather_names.h"

namespace velinst::test {
namespace {

using WeatherParsersTest = AnswerDocumentTest;

// The present fields of a record as "name=value ..." and its id.
std::string Shown(const CRKCurrentWeatherRecord& w) {
  std::ostringstream out;
  const auto put = [&out](const char* name, const auto& field) {
    if (field.present) out << name << '=' << field.value << ' ';
  };
  put("pressure", w.barometricPressure), put("client", w.clientId), put("condition", w.conditionId);
  put("dew", w.dewPoint), put("heat", w.heatIndex), put("humidity", w.humidity), put("temp", w.temperature);
  put("time", w.timestamp), put("chill", w.windChill), put("dir", w.windDirection), put("speed", w.windSpeed);
  out << "id=" << w.id << " condition " << w.conditionId.value;
  return out.str();
}

std::string Shown(const CRKForecastDay& d) {
  std::ostringstream out;
  out << d.conditionId << ' ' << d.dayOfWeekId << ' ' << d.high << ' ' << d.low << ' ' << d.moonPhaseId << " ["
      << d.sunrise << "] [" << d.sunset << ']';
  return out.str();
}

TEST_F(WeatherParsersTest, CurrentWeather) {
  struct Case {
    std::string elements;
    bool filled;
    const char* shown;
  } cases[] = {
      {"<CurrentWeather><BarometricPressure>30.12</BarometricPressure><ClientID>7</ClientID>"
       "<ConditionID>12</ConditionID><DewPoint>41.5</DewPoint><HeatIndex>60.25</HeatIndex><Humidity>55</Humidity>"
       "<ID>42</ID><Temperature>-3.5</Temperature><Timestamp>2024-05-06 07:00</Timestamp><WindChill>-9.75</WindChill>"
       "<WindDirection>NNE</WindDirection><WindSpeed>12.5mph</WindSpeed></CurrentWeather>",
       true,
       "pressure=30.12 client=7 condition=12 dew=41.5 heat=60.25 humidity=55 temp=-3.5 time=2024-05-06 07:00 "
       "chill=-9.75 dir=NNE speed=12.5 id=42 condition 12"},
      // Names in any case; empty texts and unknown names change nothing.
      {"<Other><Temperature>1</Temperature></Other><currentweather><Temperature/><WINDDIRECTION></WINDDIRECTION>"
       "<humidity>80</humidity><Unknown>5</Unknown><conditionid>3</conditionid><Sunrise>06:00</Sunrise>"
       "</currentweather>",
       true, "condition=3 humidity=80 id=0 condition 3"},
      {"<Temperature>20</Temperature>", false, "id=0 condition -1"},
  };
  for (const Case& c : cases) {
    CRKCurrentWeather parser;
    const Outcome outcome = Read(Ok(c.elements), &parser);
    EXPECT_EQ(outcome.raised, "") << c.elements;
    EXPECT_EQ(parser.IsFilled(), c.filled) << c.elements;
    EXPECT_EQ(Shown(parser.Weather()), c.shown) << c.elements;
  }
}

TEST_F(WeatherParsersTest, ForecastReadsDaysUpToTheFirstOtherChild) {
  const std::string day =
      "<WeatherForecast><ConditionID>23</ConditionID><DayOfWeekID>2</DayOfWeekID><High>71.5</High><Low>-4</Low>"
      "<MoonPhaseID>4</MoonPhaseID><Sunrise>05:58</Sunrise><SunSet>20:11</SunSet></WeatherForecast>";
  struct Case {
    std::string elements;
    bool filled;
    std::vector<std::string> days;
  } cases[] = {
      {"<Forecast>" + day +
           "<weatherforecast><dayofweekid>3</dayofweekid><SUNSET>19:00</SUNSET><sunrise></sunrise></weatherforecast>"
           "<Other/>" +
           day + "</Forecast>",
       true,
       {"23 2 71.5 -4 4 [05:58] [20:11]", "-1 3 0 0 0 [] [19:00]"}},
      {"<WeatherForecast><High>1</High></WeatherForecast>", false, {}},
      {"<Forecast><Other/><WeatherForecast/></Forecast>", true, {}},
      {"<FORECAST><WeatherForecast/></FORECAST><Forecast><WeatherForecast/></Forecast>",
       true,
       {"-1 0 0 0 0 [] []", "-1 0 0 0 0 [] []"}},
  };
  for (const Case& c : cases) {
    CRKForecast parser;
    EXPECT_EQ(Read(Ok(c.elements), &parser).raised, "") << c.elements;
    EXPECT_EQ(parser.IsFilled(), c.filled) << c.elements;
    std::vector<std::string> days;
    for (const CRKForecastDay& d : parser.Days()) days.push_back(Shown(d));
    EXPECT_EQ(days, c.days) << c.elements;
  }
}

TEST(WeatherNames, LastEntriesAndOutside) {
  struct Case {
    const char* (*lookUp)(std::int32_t);
    std::int32_t id;
    const char* name;  // null: none
  } cases[] = {
      {ConditionName, 53, "Thin Clouds"}, {ConditionName, 54, nullptr},        {ConditionName, -1, nullptr},
      {DayOfWeekName, 7, "Saturday"},     {DayOfWeekName, 8, nullptr},         {MoonPhaseName, 7, "Waning Crescent"},
      {MoonPhaseName, 8, nullptr},        {MoonPhaseName, INT32_MIN, nullptr},
  };
  for (const Case& c : cases)
    EXPECT_EQ(std::string(c.lookUp(c.id) ? c.lookUp(c.id) : "(none)"), c.name ? c.name : "(none)") << c.id;
}

}  // namespace
}  // namespace velinst::test
