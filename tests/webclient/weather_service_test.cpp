// The Weather group end to end against the account-service stand-in that
// the ctest fixture started.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "service_client.h"
#include "test_support.h"
#include "webclient/account_session.h"
#include "webclient/rk.h"
#include "webclient/weather_names.h"

namespace velinst::test {
namespace {

using service::test::ServiceClient;
using service::test::UniqueName;

class WeatherServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(service_.Ready()) << "no stand-in: its port file " << VELINST_SERVICE_PORT_FILE;
    ResetAccountSession();
    client_ = std::make_unique<CRK>(service_.HostText(), "", false);
    const std::string user = UniqueName("forecaster");
    const CRKTokenResult registered =
        client_->AccountGroup().Register(user, "secret-1", std::nullopt, "hw-1", "6.0", "velinst-test",
                                         user + "@example.org", "", "", "", "", "", 70.5, "kg", &userId_);
    ASSERT_EQ(registered.code, 0);
    token_ = registered.token;
  }
  void TearDown() override {
    client_.reset();
    ResetAccountSession();
  }

  CRKWeatherClass& Weather() { return client_->WeatherGroup(); }

  ComApartment com_;
  ServiceClient service_;
  std::unique_ptr<CRK> client_;
  std::string token_;
  std::int32_t userId_ = 0;
};

TEST_F(WeatherServiceTest, CurrentConditionsAtAPlace) {
  const CRKCurrentWeatherResult result = Weather().GetCurrentByLatLon(token_, 45.5231, -122.6765);
  ASSERT_EQ(result.code, 0);
  const CRKCurrentWeatherRecord& w = result.weather;
  for (const CRKReported<double>* value :
       {&w.barometricPressure, &w.dewPoint, &w.heatIndex, &w.humidity, &w.temperature, &w.windChill, &w.windSpeed})
    EXPECT_TRUE(value->present);
  EXPECT_TRUE(w.clientId.present);
  EXPECT_EQ(w.clientId.value, userId_);
  ASSERT_TRUE(w.conditionId.present);
  EXPECT_NE(ConditionName(w.conditionId.value), nullptr) << w.conditionId.value;
  EXPECT_TRUE(w.timestamp.present);
  EXPECT_FALSE(w.timestamp.value.empty());
  EXPECT_TRUE(w.windDirection.present);
  EXPECT_NE(w.id, 0);
}

TEST_F(WeatherServiceTest, ForecastDaysFollowOneAnother) {
  const CRKForecastResult result = Weather().GetForecastByLatLon(token_, -33.8675, 151.207);
  ASSERT_EQ(result.code, 0);
  ASSERT_GE(result.days.size(), 2u);
  for (std::size_t i = 0; i < result.days.size(); ++i) {
    const CRKForecastDay& day = result.days[i];
    EXPECT_NE(ConditionName(day.conditionId), nullptr) << i;
    EXPECT_NE(DayOfWeekName(day.dayOfWeekId), nullptr) << i;
    EXPECT_NE(day.dayOfWeekId, 0) << i;
    EXPECT_NE(MoonPhaseName(day.moonPhaseId), nullptr) << i;
    EXPECT_LE(day.low, day.high) << i;
    EXPECT_FALSE(day.sunrise.empty()) << i;
    EXPECT_FALSE(day.sunset.empty()) << i;
    if (i > 0) {
      EXPECT_EQ(day.dayOfWeekId, result.days[i - 1].dayOfWeekId % 7 + 1) << i;
    }
  }
}

}  // namespace
}  // namespace velinst::test
