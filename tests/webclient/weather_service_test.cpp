// The Weather group end to end against the account-service stand-in that
// the ctest fixture started.
#include <gtest/gtest.h>

#include "signed_in_service_test.h"
#include "webclient/weather_names.h"

namespace velinst::test {
namespace {

class WeatherServiceTest : public SignedInServiceTest {
 protected:
  WeatherServiceTest() : SignedInServiceTest("forecaster") {}
  CRKWeatherClass& Weather() { return client_->WeatherGroup(); }
};

TEST_F(WeatherServiceTest, CurrentConditionsAndForecastAtAPlace) {
  const auto result = Weather().GetCurrentByLatLon(token_, 45.5231, -122.6765);
  ASSERT_EQ(result.code, 0);
  const CRKCurrentWeatherRecord& w = result.value;
  for (const bool present : {w.barometricPressure.present, w.dewPoint.present, w.heatIndex.present, w.humidity.present,
                             w.temperature.present, w.windChill.present, w.windSpeed.present, w.clientId.present,
                             w.timestamp.present, w.windDirection.present, w.conditionId.present})
    EXPECT_TRUE(present);
  EXPECT_EQ(w.clientId.value, userId_);
  EXPECT_NE(ConditionName(w.conditionId.value), nullptr) << w.conditionId.value;
  EXPECT_NE(w.id, 0);

  // Forecast days follow one another.
  const auto forecast = Weather().GetForecastByLatLon(token_, -33.8675, 151.207);
  ASSERT_EQ(forecast.code, 0);
  ASSERT_GE(forecast.value.size(), 2u);
  for (std::size_t i = 0; i < forecast.value.size(); ++i) {
    const CRKForecastDay& day = forecast.value[i];
    EXPECT_NE(ConditionName(day.conditionId), nullptr) << i;
    EXPECT_NE(MoonPhaseName(day.moonPhaseId), nullptr) << i;
    EXPECT_TRUE(day.dayOfWeekId >= 1 && day.dayOfWeekId <= 7 && day.low <= day.high) << i;
    EXPECT_FALSE(day.sunrise.empty() || day.sunset.empty()) << i;
    EXPECT_TRUE(i == 0 || day.dayOfWeekId == forecast.value[i - 1].dayOfWeekId % 7 + 1) << i;
  }
}

}  // namespace
}  // namespace velinst::test
