#include "webclient/weather_parsers.h"

#include <gtest/gtest.h>

#include <string>

#include "document_test_support.h"
#include "webclient/weather_names.h"

namespace velinst::test {
namespace {

using WeatherParsersTest = AnswerDocumentTest;

std::string Ok(const std::string& elements) { return "<rsp status=\"ok\">" + elements + "</rsp>"; }

constexpr const char* kFullCurrent =
    "<CurrentWeather><BarometricPressure>30.12</BarometricPressure><ClientID>7</ClientID>"
    "<ConditionID>12</ConditionID><DewPoint>41.5</DewPoint><HeatIndex>60.25</HeatIndex>"
    "<Humidity>55</Humidity><ID>42</ID><Temperature>-3.5</Temperature>"
    "<Timestamp>2024-05-06 07:00</Timestamp><WindChill>-9.75</WindChill>"
    "<WindDirection>NNE</WindDirection><WindSpeed>12.5mph</WindSpeed></CurrentWeather>";

TEST_F(WeatherParsersTest, CurrentWeatherReadsEveryField) {
  CRKCurrentWeather parser;
  EXPECT_EQ(Read(Ok(kFullCurrent), &parser).raised, "");
  ASSERT_TRUE(parser.IsFilled());
  const CRKCurrentWeatherRecord& w = parser.Weather();
  EXPECT_EQ(w.id, 42);
  struct Real {
    const CRKReported<double>& field;
    double value;
  } reals[] = {{w.barometricPressure, 30.12}, {w.dewPoint, 41.5},   {w.heatIndex, 60.25}, {w.humidity, 55},
               {w.temperature, -3.5},         {w.windChill, -9.75}, {w.windSpeed, 12.5}};
  for (const Real& real : reals) {
    EXPECT_TRUE(real.field.present) << real.value;
    EXPECT_EQ(real.field.value, real.value);
  }
  EXPECT_TRUE(w.clientId.present);
  EXPECT_EQ(w.clientId.value, 7);
  EXPECT_TRUE(w.conditionId.present);
  EXPECT_EQ(w.conditionId.value, 12);
  EXPECT_TRUE(w.timestamp.present);
  EXPECT_EQ(w.timestamp.value, "2024-05-06 07:00");
  EXPECT_TRUE(w.windDirection.present);
  EXPECT_EQ(w.windDirection.value, "NNE");
}

TEST_F(WeatherParsersTest, CurrentWeatherNamesInAnyCaseEmptyTextsAndUnknownNames) {
  CRKCurrentWeather parser;
  Read(Ok("<Other><Temperature>1</Temperature></Other>"
          "<currentweather><Temperature/><WINDDIRECTION></WINDDIRECTION><humidity>80</humidity>"
          "<Unknown>5</Unknown><conditionid>3</conditionid><Sunrise>06:00</Sunrise></currentweather>"),
       &parser);
  ASSERT_TRUE(parser.IsFilled());
  const CRKCurrentWeatherRecord& w = parser.Weather();
  EXPECT_FALSE(w.temperature.present);
  EXPECT_FALSE(w.windDirection.present);
  EXPECT_EQ(w.windDirection.value, "");
  EXPECT_TRUE(w.humidity.present);
  EXPECT_EQ(w.humidity.value, 80);
  EXPECT_TRUE(w.conditionId.present);
  EXPECT_EQ(w.conditionId.value, 3);
  EXPECT_FALSE(w.dewPoint.present);
  EXPECT_EQ(w.id, 0);
}

TEST_F(WeatherParsersTest, AnswerWithoutCurrentWeatherLeavesNothingPresent) {
  for (const char* elements : {"", "<Forecast/>", "<Temperature>20</Temperature>"}) {
    CRKCurrentWeather parser;
    const Outcome outcome = Read(Ok(elements), &parser);
    EXPECT_EQ(outcome.raised, "");
    EXPECT_FALSE(outcome.serverErrorCode.has_value());
    EXPECT_FALSE(parser.IsFilled()) << elements;
    const CRKCurrentWeatherRecord& w = parser.Weather();
    EXPECT_FALSE(w.temperature.present || w.conditionId.present || w.timestamp.present || w.clientId.present);
    EXPECT_EQ(w.conditionId.value, -1);
    EXPECT_EQ(w.timestamp.value, "");
    EXPECT_EQ(w.id, 0);
  }
}

constexpr const char* kDay =
    "<WeatherForecast><ConditionID>23</ConditionID><DayOfWeekID>2</DayOfWeekID><High>71.5</High>"
    "<Low>-4</Low><MoonPhaseID>4</MoonPhaseID><Sunrise>05:58</Sunrise><SunSet>20:11</SunSet></WeatherForecast>";

TEST_F(WeatherParsersTest, ForecastReadsDaysUpToTheFirstOtherChild) {
  CRKForecast parser;
  Read(Ok(std::string("<Forecast>") + kDay +
          "<weatherforecast><dayofweekid>3</dayofweekid><SUNSET>19:00</SUNSET><sunrise></sunrise></weatherforecast>"
          "<Other/>" +
          kDay + "</Forecast>"),
       &parser);
  ASSERT_TRUE(parser.IsFilled());
  ASSERT_EQ(parser.Days().size(), 2u);
  const CRKForecastDay& first = parser.Days()[0];
  EXPECT_EQ(first.conditionId, 23);
  EXPECT_EQ(first.dayOfWeekId, 2);
  EXPECT_EQ(first.high, 71.5);
  EXPECT_EQ(first.low, -4);
  EXPECT_EQ(first.moonPhaseId, 4);
  EXPECT_EQ(first.sunrise, "05:58");
  EXPECT_EQ(first.sunset, "20:11");

  // A day without a condition, high, low or moon phase keeps their start values.
  const CRKForecastDay& second = parser.Days()[1];
  EXPECT_EQ(second.conditionId, -1);
  EXPECT_EQ(ConditionName(second.conditionId), nullptr);
  EXPECT_EQ(second.dayOfWeekId, 3);
  EXPECT_EQ(second.high, 0);
  EXPECT_EQ(second.low, 0);
  EXPECT_EQ(second.moonPhaseId, 0);
  EXPECT_EQ(second.sunrise, "");
  EXPECT_EQ(second.sunset, "19:00");
}

TEST_F(WeatherParsersTest, ForecastElementsOfTheAnswer) {
  struct Case {
    const char* elements;
    bool filled;
    std::size_t days;
  } cases[] = {
      {"", false, 0},
      {"<WeatherForecast><High>1</High></WeatherForecast>", false, 0},
      {"<Forecast/>", true, 0},
      {"<Forecast><Other/><WeatherForecast/></Forecast>", true, 0},
      {"<FORECAST><WeatherForecast/></FORECAST>", true, 1},
      {"<Forecast><WeatherForecast/></Forecast><Forecast><WeatherForecast/></Forecast>", true, 2},
  };
  for (const Case& c : cases) {
    CRKForecast parser;
    EXPECT_EQ(Read(Ok(c.elements), &parser).raised, "") << c.elements;
    EXPECT_EQ(parser.IsFilled(), c.filled) << c.elements;
    EXPECT_EQ(parser.Days().size(), c.days) << c.elements;
  }
}

TEST(WeatherNames, TablesAtBothEndsAndOutside) {
  struct Case {
    const char* (*lookUp)(std::int32_t);
    std::int32_t id;
    const char* name;  // null: none
  } cases[] = {
      {ConditionName, 0, "Unknown condition"},
      {ConditionName, 35, "Sqall"},
      {ConditionName, 53, "Thin Clouds"},
      {ConditionName, 54, nullptr},
      {ConditionName, -1, nullptr},
      {DayOfWeekName, 0, "Undefined"},
      {DayOfWeekName, 1, "Sunday"},
      {DayOfWeekName, 7, "Saturday"},
      {DayOfWeekName, 8, nullptr},
      {DayOfWeekName, -1, nullptr},
      {MoonPhaseName, 0, "New Moon"},
      {MoonPhaseName, 7, "Waning Crescent"},
      {MoonPhaseName, 8, nullptr},
      {MoonPhaseName, INT32_MIN, nullptr},
  };
  for (const Case& c : cases) {
    const char* name = c.lookUp(c.id);
    if (c.name == nullptr) {
      EXPECT_EQ(name, nullptr) << c.id;
    } else {
      EXPECT_STREQ(name, c.name) << c.id;
    }
  }
}

}  // namespace
}  // namespace velinst::test
