// The Account, Search, Trip and Weather groups end to end against the
// account-service stand-in that the ctest fixture started, each test signed
// in as a new user of its own.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "service_client.h"
#include "test_support.h"
#include "webclient/account_session.h"
#include "webclient/rk.h"
#include "webclient/weather_names.h"

namespace velinst::test {
namespace {

using service::test::UniqueName;

constexpr std::int32_t kIncorrectPassword = 26;
constexpr std::int32_t kParameterError = 33;
constexpr std::int32_t kRecordNotFound = 37;
constexpr std::int32_t kCamp = 1;
constexpr std::int32_t kNoSuchType = 24;
// Beyond the stand-in's token lifetime.
constexpr std::int64_t kPastTokenLifetime = 2 * 3600;

class StandInTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(service_.Ready()) << "no stand-in: its port file " << VELINST_SERVICE_PORT_FILE;
    ResetAccountSession();
    client_ = std::make_unique<CRK>(service_.HostText(), "", false);
    user_ = UniqueName("walker");
    const CRKTokenResult registered =
        Account().Register(user_, "secret-1", std::nullopt, "hw-1", "6.0", "velinst-test", user_ + "@example.org", "",
                           "", "", "", "", 70.0, "kg", &userId_);
    ASSERT_EQ(registered.code, 0);
    token_ = registered.token;
  }
  void TearDown() override {
    client_.reset();
    ResetAccountSession();
    // The stand-in serves the other tests too.
    if (clockMoved_ != 0) service_.AdvanceClock(-clockMoved_);
  }

  CRKAccountClass& Account() { return client_->AccountGroup(); }
  CRKTripClass& Trip() { return client_->TripGroup(); }
  CRKTokenResult Login(const std::string& password, double* weight = nullptr) {
    return Account().Login(user_, password, "hw-1", "6.0", "velinst-test", "", "", "", "", "", weight, nullptr,
                           nullptr);
  }

  ComApartment com_;
  service::test::ServiceClient service_;
  std::unique_ptr<CRK> client_;
  std::string user_;  // with the password "secret-1"
  std::string token_;
  std::int32_t userId_ = 0;
  std::int64_t clockMoved_ = 0;
};

TEST_F(StandInTest, AnonymousDeviceToken) {
  ResetAccountSession();  // a device without a signed-in user
  EXPECT_FALSE(Account().GetTimeStamp().timeStamp.empty());
  const CRKTokenResult device =
      Account().GetAnonymousAuthToken("hw-2", "velinst-test", "6.0", "maker", "model", "", "fw", "");
  EXPECT_EQ(std::make_tuple(device.code, device.token.empty(), CurrentAuthToken(), SavedCredentials().username),
            std::make_tuple(0, false, device.token, std::string()));
}

// The automatic sign-in uses the changed password, hostile as users type it.
TEST_F(StandInTest, ExpiredTokenSignsInAgainWithTheChangedPassword) {
  const std::string password = "p&ss=+%#<>\"' 1";
  ASSERT_EQ(Account().ChangePassword(token_, "secret-1", password), 0);
  EXPECT_EQ(SavedCredentials().password, password);
  EXPECT_EQ(Login("secret-1").code, kIncorrectPassword);
  service_.AdvanceClock(kPastTokenLifetime);
  clockMoved_ += kPastTokenLifetime;
  const std::string expired = CurrentAuthToken();
  EXPECT_EQ(Account().Update(expired, "", "", 71.0, std::nullopt), 0);
  EXPECT_TRUE(CurrentAuthToken() != expired && !CurrentAuthToken().empty()) << CurrentAuthToken();
  double weight = 0;
  ASSERT_EQ(Login(password, &weight).code, 0);
  EXPECT_EQ(weight, 71.0);
}

// A two-point hike of about 1.1 km northwards. Without a final line break:
// an element's text comes back trimmed.
std::string Gpx(const std::string& name) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" creator=\"velinst-test\">\n<metadata><name>" +
         name + "</name><desc>&lt;b&gt;Bold&lt;/b&gt; views</desc></metadata>\n<trk><type>Hiking</type><trkseg>\n" +
         "<trkpt lat=\"47.500000\" lon=\"-121.500000\"><ele>1000</ele><time>2024-05-01T10:00:00Z</time></trkpt>\n"
         "<trkpt lat=\"47.510000\" lon=\"-121.500000\"><ele>1100</ele><time>2024-05-01T10:20:00Z</time></trkpt>\n"
         "</trkseg></trk>\n</gpx>";
}

std::vector<std::string> Ids(const std::vector<TripStats>& trips) {
  std::vector<std::string> ids;
  for (const TripStats& trip : trips) ids.push_back(trip.id);
  return ids;
}

// Every byte value, NULs among them, in the media: the stand-in takes it
// only when its length is the size sent.
TEST_F(StandInTest, ATripFromSaveToDelete) {
  const std::string document = Gpx("Ridge and valley");
  const std::int32_t tripId = Trip().Save(token_, document).value;
  ASSERT_GT(tripId, 0);
  const std::string id = std::to_string(tripId);

  std::string media;
  for (int i = 0; i < 4096; ++i) media.push_back(static_cast<char>(i * 7));
  const auto added = Trip().AddMedia(token_, tripId, "2024-05-01T10:05:00Z", "walker", "(c) walker", "image/jpeg",
                                     "camp.jpg", media.data(), static_cast<std::uint32_t>(media.size()));
  const auto poi = Trip().AddPoi(token_, tripId, std::nullopt, 46.5, -120.5, 1000.0, 1, "Camp one", "By the lake",
                                 added.value, kCamp);
  EXPECT_TRUE(added.code == 0 && poi.code == 0 && poi.value > 0) << added.code << " " << poi.code;
  const auto unknownType =
      Trip().AddPoi(token_, tripId, std::nullopt, 46.5, -120.5, std::nullopt, 2, "n", "d", std::nullopt, kNoSuchType);
  EXPECT_EQ(std::make_pair(unknownType.code, unknownType.value), std::make_pair(kParameterError, 0));

  EXPECT_EQ(Trip().GetTrip(token_, tripId, std::nullopt).value, document);
  EXPECT_NE(Trip().GetTrip(token_, tripId, true).value.find("<desc>Bold views</desc>"), std::string::npos);
  EXPECT_EQ(Trip().GetTripListIDsAndRevisionNumber(token_).value.at(0).Id, tripId);
  EXPECT_EQ(Trip().Rename(token_, tripId, "Lake & loop 100%"), 0);
  const std::vector<TripStats> list = Trip().GetTripList(token_).value;
  EXPECT_EQ(std::make_pair(Ids(list), list.empty() ? "" : list[0].name),
            std::make_pair(std::vector<std::string>{id}, std::string("Lake & loop 100%")));
  const TripInfo info = Trip().GetTripInfo(token_, tripId).value;
  EXPECT_EQ(std::make_tuple(info.id, info.mediaCount, info.poiCount), std::make_tuple(tripId, 1, 1));

  std::string synchronizedDate;
  EXPECT_EQ(Ids(Trip().GetTripListByDate(token_, std::nullopt, &synchronizedDate).value), std::vector<std::string>{id});
  EXPECT_FALSE(synchronizedDate.empty());

  EXPECT_EQ(Trip().Delete(token_, tripId), 0);
  EXPECT_EQ(Trip().GetTripInfo(token_, tripId).code, kRecordNotFound);
  EXPECT_TRUE(Trip().GetTripList(token_).value.empty());
}

TEST_F(StandInTest, SharedTripsAreFoundByText) {
  const std::string name = UniqueName("Shared ridge");
  const std::int32_t tripId = Trip().Save(token_, Gpx(name)).value;
  ASSERT_GT(tripId, 0);
  EXPECT_EQ(Trip().Share(token_, tripId, true, {"friends", "public"}, "en-US"), 0);
  const std::string id = std::to_string(tripId);

  // Another user finds it.
  const std::string other = UniqueName("finder");
  ASSERT_EQ(Account().Register(other, "secret-1", std::nullopt, "", "", "", other + "@x.org", "", "", "", "", "", 0, "",
                               nullptr).code,
            0);
  const std::string finder = CurrentAuthToken();

  std::int32_t total = -1;
  const auto byText = client_->SearchGroup().FindTrips(finder, name, 10, 0, {}, {}, &total);
  EXPECT_EQ(std::make_tuple(byText.code, total, Ids(byText.value)), std::make_tuple(0, 1, std::vector<std::string>{id}));
  EXPECT_TRUE(client_->SearchGroup().FindTrips(finder, name, 10, 0, {"Biking", "Paddling"}, {}, &total).value.empty());
  EXPECT_EQ(total, 0);
  CRKTripSearchFilters near;
  near.maxDistanceFromMe = 5000, near.currentLatitude = 47.5, near.currentLongitude = -121.51;
  near.minDistanceOfTrip = 1000;
  EXPECT_EQ(Ids(client_->SearchGroup().FindTrips(finder, name, 10, 0, {"hiking", "biking"}, near, &total).value),
            std::vector<std::string>{id});

  EXPECT_EQ(Trip().Share(token_, tripId, false, {}, std::nullopt), 0);
  EXPECT_TRUE(client_->SearchGroup().FindTrips(finder, name, 10, 0, {}, {}, nullptr).value.empty());
}

TEST_F(StandInTest, CurrentConditionsAndForecastAtAPlace) {
  const auto result = client_->WeatherGroup().GetCurrentByLatLon(token_, 45.5231, -122.6765);
  EXPECT_EQ(std::make_tuple(result.code, result.value.clientId.value, result.value.temperature.present,
                            ConditionName(result.value.conditionId.value) != nullptr),
            std::make_tuple(0, userId_, true, true));
  // Forecast days follow one another.
  const auto forecast = client_->WeatherGroup().GetForecastByLatLon(token_, -33.8675, 151.207);
  ASSERT_TRUE(forecast.code == 0 && forecast.value.size() >= 2) << forecast.code;
  for (std::size_t i = 1; i < forecast.value.size(); ++i)
    EXPECT_EQ(forecast.value[i].dayOfWeekId, forecast.value[i - 1].dayOfWeekId % 7 + 1) << i;
}

}  // namespace
}  // namespace velinst::test
