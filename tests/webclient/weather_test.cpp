// The Weather group over HTTP against the scripted test server.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "service_fixture.h"
#include "webclient/result_code.h"

namespace velinst::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;

class WeatherTest : public ServiceTest {
 protected:
  CRKWeatherClass& Weather() { return Client().WeatherGroup(); }
};

TEST_F(WeatherTest, CurrentSendsThePlaceAsFixedNumbers) {
  AnswerOk("Weather.GetCurrentByLatLon",
           "<CurrentWeather><Temperature>54.5</Temperature><ID>9</ID><ConditionID>1</ConditionID></CurrentWeather>");
  const auto result = Weather().GetCurrentByLatLon("tok", 45.5, -122.25);
  EXPECT_EQ(result.code, kRKSuccess);
  EXPECT_TRUE(result.value.temperature.present);
  EXPECT_EQ(result.value.temperature.value, 54.5);
  EXPECT_EQ(result.value.id, 9);
  EXPECT_EQ(result.value.conditionId.value, 1);
  EXPECT_FALSE(result.value.windSpeed.present);
  EXPECT_THAT(Methods(), ElementsAre("Weather.GetCurrentByLatLon"));
  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_THAT(Parameters(requests[0]),
              ElementsAre(Pair("authToken", "tok"), Pair("latitude", "45.500000"), Pair("longitude", "-122.250000")));
  EXPECT_THAT(TemporaryFiles(), IsEmpty());
}

TEST_F(WeatherTest, ForecastSendsThePlaceAndKeepsTheDaysInOrder) {
  AnswerOk("Weather.GetForecastByLatLon",
           "<Forecast><WeatherForecast><DayOfWeekID>6</DayOfWeekID></WeatherForecast>"
           "<WeatherForecast><DayOfWeekID>7</DayOfWeekID><High>80</High></WeatherForecast></Forecast>");
  const auto result = Weather().GetForecastByLatLon("tok", -33.8675, 0.0000004);
  EXPECT_EQ(result.code, kRKSuccess);
  ASSERT_EQ(result.value.size(), 2u);
  EXPECT_EQ(result.value[0].dayOfWeekId, 6);
  EXPECT_EQ(result.value[1].dayOfWeekId, 7);
  EXPECT_EQ(result.value[1].high, 80);
  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_THAT(Parameters(requests[0]),
              ElementsAre(Pair("authToken", "tok"), Pair("latitude", "-33.867500"), Pair("longitude", "0.000000")));
}

TEST_F(WeatherTest, ServerErrorsComeBackAsCodesWithNothingRead) {
  AnswerError("Weather.GetCurrentByLatLon", "ParameterOutOfRangeException");
  const auto current = Weather().GetCurrentByLatLon("tok", 91, 0);
  EXPECT_EQ(current.code, 34);
  EXPECT_FALSE(current.value.temperature.present);
  EXPECT_EQ(current.value.conditionId.value, -1);

  AnswerError("Weather.GetForecastByLatLon", "InvalidAuthTokenException");
  const auto forecast = Weather().GetForecastByLatLon("bad", 0, 0);
  EXPECT_EQ(forecast.code, 27);
  EXPECT_THAT(forecast.value, IsEmpty());
  EXPECT_THAT(TemporaryFiles(), IsEmpty());
}

}  // namespace
}  // namespace velinst::test
