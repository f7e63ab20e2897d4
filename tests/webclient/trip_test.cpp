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

constexpr std::int32_t kRequestError = 38;
constexpr const char* kTripsAnswer = "<Total>9</Total><Trips><TripStats id=\"1\"/><TripStats id=\"2\"/></Trips>";

class TripTest : public ServiceTest {
 protected:
  CRKSearchClass& Search() { return Client().SearchGroup(); }
  CRKTripClass& Trip() { return Client().TripGroup(); }
};

TEST_F(TripTest, SearchesSendTheirParameters) {
  AnswerOk("Search.FindTrips", kTripsAnswer);
  AnswerOk("Search.FindTripsInArea", kTripsAnswer);
  AnswerOk("Search.FindTripsNearPoint", kTripsAnswer);
  Search().FindTrips("tok", "lake loop", 20, 40, {}, {}, nullptr);

  CRKTripSearchFilters filters;
  filters.minDistanceOfTrip = 1, filters.maxDistanceOfTrip = 2, filters.minDurationOfTrip = 3;
  filters.maxDurationOfTrip = 4, filters.minDifficultyOfTrip = 5, filters.maxDifficultyOfTrip = 6;
  filters.maxDistanceFromMe = 7, filters.currentLatitude = 45.5, filters.currentLongitude = -110.25;
  Search().FindTrips("tok", "a&b", 1, 0, {"hike", "bike"}, filters, nullptr);
  // Two empty activities give ",".
  Search().FindTrips("tok", "", 1, 0, {"", ""}, {}, nullptr);
  std::int32_t total = 0;
  EXPECT_EQ(Search().FindTripsInArea("tok", 46, -111, 45, -110.5, 10, 20, &total).value.size(), 2u);
  EXPECT_EQ(total, 9);
  Search().FindTripsNearPoint("tok", 45.1, -110.2, 2.5, 5, 0, nullptr);
  EXPECT_THAT(Sent(), ElementsAre("authToken=tok&query=lake loop&pageSize=20&offset=40",
                                  "authToken=tok&query=a&b&pageSize=1&offset=0&activities=hike,bike&minDistanceOfTrip=1"
                                  "&maxDistanceOfTrip=2&minDurationOfTrip=3&maxDurationOfTrip=4&minDifficultyOfTrip=5"
                                  "&maxDifficultyOfTrip=6&maxDistanceFromMe=7&currentLatitude=45.500000"
                                  "&currentLongitude=-110.250000",
                                  "authToken=tok&query=&pageSize=1&offset=0&activities=,",
                                  "authToken=tok&ulLat=46.000000&ulLon=-111.000000&brLat=45.000000&brLon=-110.500000"
                                  "&pageSize=10&offset=20",
                                  "authToken=tok&lat=45.100000&lon=-110.200000&radius=2.500000&pageSize=5&offset=0"));
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
  // An unexpected element is raised on the group.
  AnswerOk("Trip.GetTripList", std::string(kTripsAnswer) + "<Extra/>");
  const CLastErr* raisedOn = nullptr;
  EXPECT_EQ(Raised([&] { Trip().GetTripList("tok"); }, &raisedOn), "Bad Trips tag");
  EXPECT_EQ(raisedOn, &Trip());
}

// The parameters with optional or joined values; the end-to-end tests read
// the answers.
TEST_F(TripTest, TripOperationsSendTheirOptionalParameters) {
  AnswerOk("Trip.GetTripListByDate", "<synchronizedDate>2024-05-06T07:08:09Z</synchronizedDate><Trips/>");
  Trip().GetTripListByDate("tok", "2024-01-01T00:00:00Z", nullptr);
  AnswerOk("Trip.GetTrip", "<GetTrip>&lt;gpx/&gt;</GetTrip>");
  EXPECT_EQ(Trip().GetTrip("tok", 8, true).value, "<gpx/>");
  AnswerOk("Trip.Rename", "<LastModified>2024-05-06T07:08:09Z</LastModified>");
  EXPECT_EQ(Trip().Rename("tok", 8, "Lake & loop"), kRKSuccess);
  AnswerOk("Trip.Share", "");
  EXPECT_EQ(Trip().Share("tok", 8, true, {}, std::nullopt), kRKSuccess);
  EXPECT_EQ(Trip().Share("tok", 8, false, {"friends", "public"}, "en-US"), kRKSuccess);
  AnswerOk("Trip.AddPoi", "<PoiID>21</PoiID>");
  EXPECT_EQ(Trip().AddPoi("tok", 5, std::nullopt, 45.25, -110.5, std::nullopt, 1, "Camp", "d", std::nullopt, 1).value,
            21);
  EXPECT_EQ(Trip().AddPoi("tok", 5, "t0", 45.25, -110.5, 1200.5, 2, "n", "d", 11, 24).value, 21);
  EXPECT_THAT(
      Sent(),
      ElementsAre("authToken=tok&modifiedSince=2024-01-01T00:00:00Z", "authToken=tok&tripID=8&filterHtml=true",
                  "authToken=tok&tripID=8&name=Lake & loop", "authToken=tok&tripID=8&share=true&publishTo=",
                  "authToken=tok&tripID=8&share=false&publishTo=friends,public&culture=en-US",
                  "authToken=tok&tripID=5&latitude=45.250000&longitude=-110.500000&poiOrder=1&name=Camp&description=d"
                  "&pointOfInterestType=Camp",
                  "authToken=tok&tripID=5&timestamp=t0&latitude=45.250000&longitude=-110.500000&altitude=1200.500000"
                  "&poiOrder=2&name=n&description=d&mediaID=11&pointOfInterestType="));
  // Only the new name is percent-encoded in full.
  EXPECT_THAT(RawQuery(Requests()[2]), HasSubstr("&name=Lake%20%26%20loop"));
}

TEST_F(TripTest, PostedDocumentsAndMedia) {
  const std::string document = "<gpx version=\"1.1\"><trk><name>R&amp;V</name></trk></gpx>";
  AnswerOk("Trip.Save", "<TripID>0</TripID>");
  const auto unsaved = Trip().Save("tok", document);
  EXPECT_EQ(std::make_pair(unsaved.code, unsaved.value), std::make_pair(kRKSuccess, 0));
  AnswerOk("Trip.SynchronizedSave", "<Trip/>");
  Trip().SynchronizedSave("tok", "2024-05-06T07:08:09Z", document);
  // Every byte value, a NUL among them, arrives as posted.
  std::string media;
  for (int i = 0; i < 256 * 4; ++i) media.push_back(static_cast<char>(i));
  AnswerOk("Trip.AddMedia", "<MediaID>11</MediaID>");
  EXPECT_EQ(Trip()
                .AddMedia("tok", 5, std::nullopt, "me", "(c)", "image/jpeg", "a.jpg", media.data(),
                          static_cast<std::uint32_t>(media.size()))
                .value,
            11);
  EXPECT_EQ(Trip().AddMedia("tok", 5, "t0", "me", "", "", "", nullptr, 7).value, 11);

  std::vector<std::string> bodies;
  for (const auto& request : Requests()) bodies.push_back(request.verb + " " + request.body);
  EXPECT_THAT(bodies, ElementsAre("POST " + document, "POST " + document, "POST " + media, "GET "));
  EXPECT_THAT(Sent(), ElementsAre("authToken=tok", "authToken=tok&lastUpdatedOverride=2024-05-06T07:08:09Z",
                                  "authToken=tok&tripID=5&author=me&copyright=(c)&contentType=image/jpeg"
                                  "&filename=a.jpg&size=1024",
                                  "authToken=tok&tripID=5&timestamp=t0&author=me&copyright=&contentType=&filename="
                                  "&size=0"));
}

}  // namespace
}  // namespace velinst::test
