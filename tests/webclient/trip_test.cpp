// The Search and Trip groups over HTTP against the scripted test server:
// what each operation sends and what it returns.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "service_fixture.h"
#include "webclient/result_code.h"

namespace velinst::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Pair;

constexpr std::int32_t kRequestError = 38;
constexpr const char* kTripsAnswer = "<Total>9</Total><Trips><TripStats id=\"1\"/><TripStats id=\"2\"/></Trips>";

class TripTest : public ServiceTest {
 protected:
  CRKSearchClass& Search() { return Client().SearchGroup(); }
  CRKTripClass& Trip() { return Client().TripGroup(); }

  // The one request the operation made, as parameters.
  QueryPairs OnlyRequest() {
    const auto requests = Requests();
    EXPECT_EQ(requests.size(), 1u);
    return requests.empty() ? QueryPairs() : Parameters(requests[0]);
  }
};

TEST_F(TripTest, FindTripsSendsActivitiesOnlyWhenThereAreAny) {
  AnswerOk("Search.FindTrips", kTripsAnswer);
  std::int32_t total = -1;
  const auto found = Search().FindTrips("tok", "lake loop", 20, 40, {}, {}, &total);
  EXPECT_EQ(found.code, kRKSuccess);
  EXPECT_EQ(total, 9);
  ASSERT_EQ(found.value.size(), 2u);
  EXPECT_EQ(found.value[1].id, "2");
  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_THAT(RawQuery(requests[0]),
              HasSubstr("method=Search.FindTrips&authToken=tok&query=lake%20loop&pageSize=20&offset=40"));
  EXPECT_THAT(Parameters(requests[0]), ElementsAre(Pair("authToken", "tok"), Pair("query", "lake loop"),
                                                   Pair("pageSize", "20"), Pair("offset", "40")));
  server_.Reset();

  AnswerOk("Search.FindTrips", kTripsAnswer);
  CRKTripSearchFilters filters;
  filters.minDistanceOfTrip = 1;
  filters.maxDistanceOfTrip = 2;
  filters.minDurationOfTrip = 3;
  filters.maxDurationOfTrip = 4;
  filters.minDifficultyOfTrip = 5;
  filters.maxDifficultyOfTrip = 6;
  filters.maxDistanceFromMe = 7;
  filters.currentLatitude = 45.5;
  filters.currentLongitude = -110.25;
  Search().FindTrips("tok", "a&b", 1, 0, {"hike", "bike"}, filters, nullptr);
  EXPECT_THAT(
      OnlyRequest(),
      ElementsAre(Pair("authToken", "tok"), Pair("query", "a&b"), Pair("pageSize", "1"), Pair("offset", "0"),
                  Pair("activities", "hike,bike"), Pair("minDistanceOfTrip", "1"), Pair("maxDistanceOfTrip", "2"),
                  Pair("minDurationOfTrip", "3"), Pair("maxDurationOfTrip", "4"), Pair("minDifficultyOfTrip", "5"),
                  Pair("maxDifficultyOfTrip", "6"), Pair("maxDistanceFromMe", "7"),
                  Pair("currentLatitude", "45.500000"), Pair("currentLongitude", "-110.250000")));
  server_.Reset();

  // One empty activity joins to nothing and is left out; two give ",".
  AnswerOk("Search.FindTrips", kTripsAnswer);
  Search().FindTrips("tok", "", 1, 0, {""}, {}, nullptr);
  Search().FindTrips("tok", "", 1, 0, {"", ""}, {}, nullptr);
  const auto requests2 = Requests();
  ASSERT_EQ(requests2.size(), 2u);
  EXPECT_EQ(Parameters(requests2[0]).size(), 4u);
  EXPECT_THAT(Parameters(requests2[1]), ::testing::Contains(Pair("activities", ",")));
}

TEST_F(TripTest, AreaAndPointSearches) {
  AnswerOk("Search.FindTripsInArea", kTripsAnswer);
  std::int32_t total = 0;
  EXPECT_EQ(Search().FindTripsInArea("tok", 46, -111, 45, -110.5, 10, 20, &total).value.size(), 2u);
  EXPECT_EQ(total, 9);
  EXPECT_THAT(OnlyRequest(), ElementsAre(Pair("authToken", "tok"), Pair("ulLat", "46.000000"),
                                         Pair("ulLon", "-111.000000"), Pair("brLat", "45.000000"),
                                         Pair("brLon", "-110.500000"), Pair("pageSize", "10"), Pair("offset", "20")));
  server_.Reset();

  AnswerOk("Search.FindTripsNearPoint", kTripsAnswer);
  Search().FindTripsNearPoint("tok", 45.1, -110.2, 2.5, 5, 0, nullptr);
  EXPECT_THAT(OnlyRequest(), ElementsAre(Pair("authToken", "tok"), Pair("lat", "45.100000"), Pair("lon", "-110.200000"),
                                         Pair("radius", "2.500000"), Pair("pageSize", "5"), Pair("offset", "0")));
}

TEST_F(TripTest, OutputsAreWrittenWhateverTheCode) {
  AnswerError("Search.FindTrips", "RequestException");
  std::int32_t total = 5;
  const auto failed = Search().FindTrips("tok", "q", 1, 0, {}, {}, &total);
  EXPECT_EQ(failed.code, kRequestError);
  EXPECT_EQ(total, 0);
  EXPECT_THAT(failed.value, IsEmpty());

  AnswerError("Trip.GetTripListByDate", "RequestException");
  std::string synchronizedDate = "before";
  EXPECT_EQ(Trip().GetTripListByDate("tok", std::nullopt, &synchronizedDate).code, kRequestError);
  EXPECT_EQ(synchronizedDate, "");
}

TEST_F(TripTest, ListsAndTheirParameters) {
  AnswerOk("Trip.GetTripList", kTripsAnswer);
  EXPECT_EQ(Trip().GetTripList("tok").value.size(), 2u);
  AnswerOk("Trip.GetTripListByDate",
           "<synchronizedDate>2024-05-06T07:08:09Z</synchronizedDate><Trips><TripStats id=\"4\"/></Trips>");
  std::string synchronizedDate;
  const auto byDate = Trip().GetTripListByDate("tok", "2024-01-01T00:00:00Z", &synchronizedDate);
  EXPECT_EQ(byDate.value.size(), 1u);
  EXPECT_EQ(synchronizedDate, "2024-05-06T07:08:09Z");
  Trip().GetTripListByDate("tok", std::nullopt, nullptr);
  AnswerOk("Trip.GetTripListIDs", "<TripIDs><ID>4</ID><ID>5</ID></TripIDs>");
  EXPECT_THAT(Trip().GetTripListIDs("tok").value, ElementsAre(4, 5));
  AnswerOk("Trip.GetTripListIDsAndRevisionNumber", "<IDPairs><IDPair Id=\"4\" Value=\"2\"/></IDPairs>");
  EXPECT_THAT(Trip().GetTripListIDsAndRevisionNumber("tok").value, ElementsAre(IDPair{4, 2}));

  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 5u);
  EXPECT_THAT(Methods(), ElementsAre("Trip.GetTripList", "Trip.GetTripListByDate", "Trip.GetTripListByDate",
                                     "Trip.GetTripListIDs", "Trip.GetTripListIDsAndRevisionNumber"));
  EXPECT_THAT(Parameters(requests[1]),
              ElementsAre(Pair("authToken", "tok"), Pair("modifiedSince", "2024-01-01T00:00:00Z")));
  EXPECT_THAT(Parameters(requests[2]), ElementsAre(Pair("authToken", "tok")));
}

TEST_F(TripTest, AnUnexpectedElementIsRaisedOnTheGroup) {
  AnswerOk("Trip.GetTripList", std::string(kTripsAnswer) + "<Extra/>");
  const CLastErr* raisedOn = nullptr;
  EXPECT_EQ(Raised([&] { Trip().GetTripList("tok"); }, &raisedOn), "Bad Trips tag");
  EXPECT_EQ(raisedOn, &Trip());
}

TEST_F(TripTest, SingleTripOperations) {
  AnswerOk("Trip.GetTripInfo", "<TripInfo id=\"8\" distance=\"12.5\" poiCount=\"2\"/>");
  const auto info = Trip().GetTripInfo("tok", 8);
  EXPECT_EQ(info.value.id, 8);
  EXPECT_EQ(info.value.distance, 12.5);
  EXPECT_EQ(info.value.poiCount, 2);
  AnswerOk("Trip.GetTrip", "<GetTrip>&lt;gpx/&gt;</GetTrip>");
  EXPECT_EQ(Trip().GetTrip("tok", 8, true).value, "<gpx/>");
  EXPECT_EQ(Trip().GetTrip("tok", 8, std::nullopt).value, "<gpx/>");
  AnswerOk("Trip.LastModified", "<LastModified>2024-05-06T07:08:09Z</LastModified>");
  EXPECT_EQ(Trip().LastModified("tok", -3).value, "2024-05-06T07:08:09Z");
  AnswerOk("Trip.Rename", "<LastModified>2024-05-06T07:08:09Z</LastModified>");
  EXPECT_EQ(Trip().Rename("tok", 8, "Lake & loop"), kRKSuccess);
  AnswerOk("Trip.Delete", "");
  EXPECT_EQ(Trip().Delete("tok", 8), kRKSuccess);
  AnswerOk("Trip.Share", "");
  EXPECT_EQ(Trip().Share("tok", 8, true, {}, std::nullopt), kRKSuccess);
  EXPECT_EQ(Trip().Share("tok", 8, false, {"friends", "public"}, "en-US"), kRKSuccess);

  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 8u);
  const std::vector<QueryPairs> expected = {
      {{"authToken", "tok"}, {"tripID", "8"}},
      {{"authToken", "tok"}, {"tripID", "8"}, {"filterHtml", "true"}},
      {{"authToken", "tok"}, {"tripID", "8"}},
      {{"authToken", "tok"}, {"tripID", "-3"}},
      {{"authToken", "tok"}, {"tripID", "8"}, {"name", "Lake & loop"}},
      {{"authToken", "tok"}, {"tripID", "8"}},
      {{"authToken", "tok"}, {"tripID", "8"}, {"share", "true"}, {"publishTo", ""}},
      {{"authToken", "tok"},
       {"tripID", "8"},
       {"share", "false"},
       {"publishTo", "friends,public"},
       {"culture", "en-US"}},
  };
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(Parameters(requests[i]), expected[i]) << i;
  // Only the new name is percent-encoded in full.
  EXPECT_THAT(RawQuery(requests[4]), HasSubstr("&name=Lake%20%26%20loop"));
}

TEST_F(TripTest, PostedDocumentsAndMedia) {
  const std::string document = "<gpx version=\"1.1\"><trk><name>R&amp;V</name></trk></gpx>";
  AnswerOk("Trip.Save", "<TripID>0</TripID>");
  const auto unsaved = Trip().Save("tok", document);
  EXPECT_EQ(unsaved.code, kRKSuccess);
  EXPECT_EQ(unsaved.value, 0);
  AnswerOk("Trip.SynchronizedSave", "<Trip>&lt;gpx id=\"5\"/&gt;</Trip>");
  EXPECT_EQ(Trip().SynchronizedSave("tok", "2024-05-06T07:08:09Z", document).value, "<gpx id=\"5\"/>");

  // Every byte value, a NUL among them, arrives as posted.
  std::string media;
  for (int i = 0; i < 256 * 4; ++i) media.push_back(static_cast<char>(i));
  AnswerOk("Trip.AddMedia", "<MediaID>11</MediaID>");
  const auto added = Trip().AddMedia("tok", 5, std::nullopt, "me", "(c)", "image/jpeg", "a.jpg", media.data(),
                                     static_cast<std::uint32_t>(media.size()));
  EXPECT_EQ(added.value, 11);
  EXPECT_EQ(Trip().AddMedia("tok", 5, "t0", "me", "", "", "", nullptr, 7).value, 11);

  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[0].verb, "POST");
  EXPECT_EQ(requests[0].body, document);
  EXPECT_THAT(Parameters(requests[0]), ElementsAre(Pair("authToken", "tok")));
  EXPECT_EQ(requests[1].body, document);
  EXPECT_THAT(Parameters(requests[1]),
              ElementsAre(Pair("authToken", "tok"), Pair("lastUpdatedOverride", "2024-05-06T07:08:09Z")));
  EXPECT_EQ(requests[2].body, media);
  EXPECT_THAT(Parameters(requests[2]),
              ElementsAre(Pair("authToken", "tok"), Pair("tripID", "5"), Pair("author", "me"), Pair("copyright", "(c)"),
                          Pair("contentType", "image/jpeg"), Pair("filename", "a.jpg"), Pair("size", "1024")));
  EXPECT_EQ(requests[3].body, "");
  EXPECT_THAT(Parameters(requests[3]), ::testing::Contains(Pair("size", "0")));
  EXPECT_THAT(Parameters(requests[3]), ::testing::Contains(Pair("timestamp", "t0")));
}

TEST_F(TripTest, PointsOfInterest) {
  AnswerOk("Trip.AddPoi", "<PoiID>21</PoiID>");
  EXPECT_EQ(
      Trip().AddPoi("tok", 5, std::nullopt, 45.25, -110.5, std::nullopt, 1, "Camp one", "d", std::nullopt, 1).value,
      21);
  EXPECT_EQ(Trip().AddPoi("tok", 5, "t0", 45.25, -110.5, 1200.5, 2, "n", "d", 11, 24).value, 21);
  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_THAT(Parameters(requests[0]),
              ElementsAre(Pair("authToken", "tok"), Pair("tripID", "5"), Pair("latitude", "45.250000"),
                          Pair("longitude", "-110.500000"), Pair("poiOrder", "1"), Pair("name", "Camp one"),
                          Pair("description", "d"), Pair("pointOfInterestType", "Camp")));
  EXPECT_THAT(
      Parameters(requests[1]),
      ElementsAre(Pair("authToken", "tok"), Pair("tripID", "5"), Pair("timestamp", "t0"), Pair("latitude", "45.250000"),
                  Pair("longitude", "-110.500000"), Pair("altitude", "1200.500000"), Pair("poiOrder", "2"),
                  Pair("name", "n"), Pair("description", "d"), Pair("mediaID", "11"), Pair("pointOfInterestType", "")));
}

}  // namespace
}  // namespace velinst::test
