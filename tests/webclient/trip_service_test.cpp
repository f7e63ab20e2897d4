// The Search and Trip groups end to end against the account-service
// stand-in that the ctest fixture started.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "signed_in_service_test.h"

namespace velinst::test {
namespace {

using service::test::UniqueName;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr std::int32_t kParameterError = 33;
constexpr std::int32_t kRecordNotFound = 37;
constexpr std::int32_t kCamp = 1;
constexpr std::int32_t kNoSuchType = 24;

// A two-point hike of about 1.1 km northwards from (latitude, longitude).
// Without a final line break: an element's text comes back trimmed.
std::string Gpx(const std::string& name, double latitude, double longitude) {
  std::string points;
  for (int i = 0; i < 2; ++i)
    points += "<trkpt lat=\"" + std::to_string(latitude + i * 0.01) + "\" lon=\"" + std::to_string(longitude) +
              "\"><ele>" + std::to_string(1000 + i * 100) + "</ele><time>2024-05-01T" + (i == 0 ? "10:00" : "10:20") +
              ":00Z</time></trkpt>\n";
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" "
         "creator=\"velinst-test\">\n<metadata><name>" +
         name + "</name><desc>&lt;b&gt;Bold&lt;/b&gt; views</desc></metadata>\n<trk><type>Hiking</type><trkseg>\n" +
         points + "</trkseg></trk>\n</gpx>";
}

std::vector<std::string> Ids(const std::vector<TripStats>& trips) {
  std::vector<std::string> ids;
  for (const TripStats& trip : trips) ids.push_back(trip.id);
  return ids;
}

class TripServiceTest : public SignedInServiceTest {
 protected:
  TripServiceTest() : SignedInServiceTest("trips") {}

  CRKSearchClass& Search() { return client_->SearchGroup(); }
  CRKTripClass& Trip() { return client_->TripGroup(); }
};

// Every byte value, NULs among them, in the media: the stand-in takes it
// only when its length is the size sent.
TEST_F(TripServiceTest, ATripFromSaveToDelete) {
  const std::string document = Gpx("Ridge and valley", 47.5, -121.5);
  const CRKResult<std::int32_t> saved = Trip().Save(token_, document);
  ASSERT_EQ(saved.code, 0);
  const std::int32_t tripId = saved.value;
  ASSERT_GT(tripId, 0);
  const std::string id = std::to_string(tripId);

  std::string media;
  for (int i = 0; i < 4096; ++i) media.push_back(static_cast<char>(i * 7));
  const auto added = Trip().AddMedia(token_, tripId, "2024-05-01T10:05:00Z", "walker", "(c) walker", "image/jpeg",
                                     "camp.jpg", media.data(), static_cast<std::uint32_t>(media.size()));
  EXPECT_EQ(added.code, 0);
  const auto poi = Trip().AddPoi(token_, tripId, std::nullopt, 46.5, -120.5, 1000.0, 1, "Camp one", "By the lake",
                                 added.value, kCamp);
  EXPECT_EQ(poi.code, 0);
  EXPECT_GT(poi.value, 0);
  const auto unknownType =
      Trip().AddPoi(token_, tripId, std::nullopt, 46.5, -120.5, std::nullopt, 2, "n", "d", std::nullopt, kNoSuchType);
  EXPECT_EQ(std::make_pair(unknownType.code, unknownType.value), std::make_pair(kParameterError, 0));

  const auto list = Trip().GetTripList(token_);
  ASSERT_EQ(list.value.size(), 1u);
  const TripStats& listed = list.value[0];
  EXPECT_EQ(std::vector<std::string>({listed.id, listed.name, listed.activityType, listed.userID}),
            std::vector<std::string>({id, "Ridge and valley", "Hiking", std::to_string(userId_)}));
  const TripInfo info = Trip().GetTripInfo(token_, tripId).value;
  EXPECT_EQ(std::make_tuple(info.id, info.userID, info.totalPointCount, info.trackCount, info.eleGain, info.mediaCount,
                            info.poiCount),
            std::make_tuple(tripId, userId_, 2, 1, 100.0, 1, 1));
  EXPECT_NEAR(info.distance, 1112.0, 1.0);

  EXPECT_EQ(Trip().GetTrip(token_, tripId, std::nullopt).value, document);
  EXPECT_THAT(Trip().GetTrip(token_, tripId, true).value, HasSubstr("<desc>Bold views</desc>"));
  EXPECT_EQ(Trip().GetTripListIDsAndRevisionNumber(token_).value.at(0).Id, tripId);
  EXPECT_EQ(Trip().Rename(token_, tripId, "Lake & loop 100%"), 0);
  EXPECT_EQ(Trip().GetTripList(token_).value.at(0).name, "Lake & loop 100%");

  std::string synchronizedDate;
  EXPECT_EQ(Ids(Trip().GetTripListByDate(token_, std::nullopt, &synchronizedDate).value), std::vector<std::string>{id});
  EXPECT_FALSE(synchronizedDate.empty());

  EXPECT_EQ(Trip().Delete(token_, tripId), 0);
  EXPECT_EQ(Trip().GetTripInfo(token_, tripId).code, kRecordNotFound);
  EXPECT_TRUE(Trip().GetTripList(token_).value.empty());
}

TEST_F(TripServiceTest, SharedTripsAreFoundByTextAreaAndDistance) {
  const std::string name = UniqueName("Shared ridge");
  const double latitude = 40.0 + (userId_ % 1000) * 0.001;
  const std::int32_t tripId = Trip().Save(token_, Gpx(name, latitude, -105.0)).value;
  ASSERT_GT(tripId, 0);
  EXPECT_EQ(Trip().Share(token_, tripId, true, {"friends", "public"}, "en-US"), 0);
  const std::string id = std::to_string(tripId);

  // Another user finds it.
  const std::string other = UniqueName("finder");
  ASSERT_EQ(client_->AccountGroup().Register(other, "secret-1", std::nullopt, "", "", "", other + "@x.org", "", "", "", "", "", 0,
                                             "", nullptr).code, 0);
  const std::string finder = CurrentAuthToken();

  std::int32_t total = -1;
  const auto byText = Search().FindTrips(finder, name, 10, 0, {}, {}, &total);
  EXPECT_EQ(std::make_tuple(byText.code, total, Ids(byText.value)), std::make_tuple(0, 1, std::vector<std::string>{id}));
  EXPECT_TRUE(Search().FindTrips(finder, name, 10, 0, {"Biking", "Paddling"}, {}, &total).value.empty());
  EXPECT_EQ(total, 0);
  CRKTripSearchFilters near;
  near.maxDistanceFromMe = 5000, near.currentLatitude = latitude, near.currentLongitude = -105.01;
  near.minDistanceOfTrip = 1000;
  EXPECT_EQ(Ids(Search().FindTrips(finder, name, 10, 0, {"hiking", "biking"}, near, &total).value),
            std::vector<std::string>{id});

  EXPECT_THAT(
      Ids(Search().FindTripsInArea(finder, latitude + 0.5, -105.5, latitude - 0.5, -104.5, 100, 0, &total).value),
      Contains(id));
  EXPECT_GE(total, 1);
  EXPECT_THAT(Ids(Search().FindTripsNearPoint(finder, latitude, -105.0, 100.0, 100, 0, nullptr).value), Contains(id));
  EXPECT_THAT(Ids(Search().FindTripsNearPoint(finder, latitude + 1.0, -105.0, 1000.0, 100, 0, nullptr).value),
              Not(Contains(id)));

  EXPECT_EQ(Trip().Share(token_, tripId, false, {}, std::nullopt), 0);
  EXPECT_TRUE(Search().FindTrips(finder, name, 10, 0, {}, {}, nullptr).value.empty());
}

}  // namespace
}  // namespace velinst::test
