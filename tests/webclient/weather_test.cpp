// The Weather group over HTTP against the scripted test server.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "service_fixture.h"
#include "webclient/result_code.h"

namespace velinst::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class WeatherTest : public ServiceTest {
 protected:
  CRKWeatherClass& Weather() { return Client().WeatherGroup(); }
};

TEST_F(WeatherTest, CurrentAndForecastSendThePlaceAsFixedNumbers) {
  AnswerOk("Weather.GetCurrentByLatLon",
           "<CurrentWeather><Temperature>54.5</Temperature><ID>9</ID><ConditionID>1</ConditionID></CurrentWeather>");
  const auto current = Weather().GetCurrentByLatLon("tok", 45.5, -122.25);
  EXPECT_EQ(current.code, kRKSuccess);
  EXPECT_EQ(current.value.temperature.value, 54.5);
  EXPECT_EQ(current.value.id, 9);
  AnswerOk("Weather.GetForecastByLatLon",
           "<Forecast><WeatherForecast><DayOfWeekID>6</DayOfWeekID></WeatherForecast>"
           "<WeatherForecast><DayOfWeekID>7</DayOfWeekID><High>80</High></WeatherForecast></Forecast>");
  const auto forecast = Weather().GetForecastByLatLon("tok", -33.8675, 0.0000004);
  EXPECT_EQ(forecast.code, kRKSuccess);
  ASSERT_EQ(forecast.value.size(), 2u);
  EXPECT_EQ(forecast.value[0].dayOfWeekId, 6);
  EXPECT_EQ(forecast.value[1].dayOfWeekId, 7);
  EXPECT_THAT(Methods(), ElementsAre("Weather.GetCurrentByLatLon", "Weather.GetForecastByLatLon"));
  EXPECT_THAT(Sent(), ElementsAre("authToken=tok&latitude=45.500000&longitude=-122.250000",
                                  "authToken=tok&latitude=-33.867500&longitude=0.000000"));
  EXPECT_THAT(TemporaryFiles(), IsEmpty());
}

TEST_F(WeatherTest, ServerErrorsComeBackAsCodesWithNothingRead) {
  AnswerError("Weather.GetCurrentByLatLon", "ParameterOutOfRangeException");
  const auto current = Weather().GetCurrentByLatLon("tok", 91, 0);
  EXPECT_EQ(current.code, 34);
  EXPECT_FALSE(current.value.temperature.present);
  AnswerError("Weather.GetForecastByLatLon", "InvalidAuthTokenException");
  const auto forecast = Weather().GetForecastByLatLon("bad", 0, 0);
  EXPECT_EQ(forecast.code, 27);
  EXPECT_THAT(forecast.value, IsEmpty());
}

}  // namespace
}  // namespace velinst::test
