// Trips, searches, team and private trip lists, and the weather over HTTP.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "service_test_fixture.h"

namespace velinst::service::test {
namespace {

std::string Gpx(const std::string& name, double latitude) {
  std::string points;
  for (int i = 0; i < 2; ++i)
    points += "<trkpt lat=\"" + std::to_string(latitude + i * 0.01) + "\" lon=\"-110.0\"><ele>" +
              std::to_string(1000 + i * 100) + "</ele><time>2024-05-01T10:" + (i ? "20" : "00") +
              ":00Z</time></trkpt>\n";
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" creator=\"test\">\n<metadata><name>" + name +
         "</name><desc>&lt;b&gt;Bold&lt;/b&gt; views</desc></metadata>\n<trk><type>Hiking</type><trkseg>\n" + points +
         "</trkseg></trk>\n</gpx>\n";
}

const std::set<std::string> kTripStatsAttributes = {
    "id",          "name",    "activityType", "date",    "distance",  "calories", "duration",  "resting",
    "unaccounted", "summary", "eleGain",      "eleLoss", "trailhead", "userID",   "animalType"};

std::set<std::string> AttributeNames(const AnswerNode& node) {
  std::set<std::string> names;
  for (const auto& [name, value] : node.attributes) names.insert(name);
  return names;
}

class TripTest : public ServiceTest {
 protected:
  std::string Save(const std::string& token, const std::string& document) {
    const ServiceReply saved = Call(token, "Trip.Save", {}, document);
    EXPECT_TRUE(saved.Ok()) << saved.body;
    return saved.Text("TripID");
  }
  std::string AddMedia(const std::string& token, const std::string& trip, const std::string& media, std::size_t size,
                       Parameters more = {}) {
    more.insert(more.end(), {{"tripID", trip},
                             {"author", "me"},
                             {"copyright", ""},
                             {"contentType", "image/png"},
                             {"filename", "a.png"},
                             {"size", std::to_string(size)}});
    const ServiceReply added = Call(token, "Trip.AddMedia", more, media);
    return added.Ok() ? added.Text("MediaID") : added.ErrorType();
  }
};

TEST_F(TripTest, SavedTripsAnswerTheirFigures) {
  const NewUser user = Register();
  const std::string document = Gpx("Ridge &amp; Valley", 45.0);
  const std::string tripId = Save(user.token, document);
  ASSERT_GT(std::stoi(tripId), 0);

  const ServiceReply info = Call(user.token, "Trip.GetTripInfo", {{"tripID", tripId}});
  ASSERT_TRUE(info.Ok()) << info.body;
  const AnswerNode& trip = info.Required("TripInfo");
  EXPECT_EQ(AttributeNames(trip),
            (std::set<std::string>{"id", "name", "date", "distance", "calories", "duration", "resting", "unaccounted",
                                   "summary", "eleGain", "eleLoss", "trailhead", "userID", "poiCount", "trackCount",
                                   "mediaCount", "routeCount", "totalPointCount"}));
  const std::map<std::string, std::string> expected = {{"name", "Ridge &amp; Valley"},
                                                       {"distance", "1112.0"},
                                                       {"duration", "1200"},
                                                       {"eleGain", "100.0"},
                                                       {"userID", user.id},
                                                       {"trailhead", "45.000000,-110.000000"},
                                                       {"totalPointCount", "2"},
                                                       {"date", "2024-05-01T10:00:00Z"}};
  for (const auto& [name, value] : expected) EXPECT_EQ(trip.Attribute(name), value) << name;

  EXPECT_EQ(Call(user.token, "Trip.GetTrip", {{"tripID", tripId}}).Text("GetTrip"), document);
  const std::string filtered =
      Call(user.token, "Trip.GetTrip", {{"tripID", tripId}, {"filterHtml", "true"}}).Text("GetTrip");
  EXPECT_NE(filtered.find("<desc>Bold views</desc>"), std::string::npos) << filtered;

  const ServiceReply list = Call(user.token, "Trip.GetTripList");
  ASSERT_TRUE(list.Ok()) << list.body;
  EXPECT_EQ(list.answer->children.size(), 2u);  // Total and Trips, nothing else
  EXPECT_EQ(list.Text("Total"), "1");
  ASSERT_EQ(list.Count("Trips"), 1u);
  const AnswerNode& stats = list.Required("Trips").children.at(0);
  EXPECT_EQ(stats.name, "TripStats");
  EXPECT_EQ(AttributeNames(stats), kTripStatsAttributes);
  EXPECT_EQ(stats.Attribute("activityType"), "Hiking");

  EXPECT_EQ(Call(user.token, "Trip.GetTripListIDs").FieldText("TripIDs", "ID"), tripId);
  const ServiceReply byDate = Call(user.token, "Trip.GetTripListByDate", {{"modifiedSince", "2001-01-01T00:00:00Z"}});
  EXPECT_EQ(byDate.Count("Trips"), 1u);
  EXPECT_EQ(byDate.Text("synchronizedDate").size(), 20u);
  EXPECT_EQ(Call(user.token, "Trip.GetTripListByDate", {{"modifiedSince", "3000-01-01"}}).Count("Trips"), 0u);
}

TEST_F(TripTest, ChangesMoveTheRevisionAndModificationTime) {
  const NewUser user = Register();
  const std::string& token = user.token;
  const std::string tripId = Save(token, Gpx("Loop", 46.0));
  const Parameters trip = {{"tripID", tripId}};
  auto revision = [&] {
    const ServiceReply pairs = Call(token, "Trip.GetTripListIDsAndRevisionNumber");
    EXPECT_EQ(ItemAttribute(pairs, "IDPairs", "Id"), tripId);
    return ItemAttribute(pairs, "IDPairs", "Value");
  };
  EXPECT_EQ(revision(), "1");
  const ServiceReply renamed = Call(token, "Trip.Rename", {{"tripID", tripId}, {"name", "Big%20Loop"}});
  ASSERT_TRUE(renamed.Ok()) << renamed.body;
  EXPECT_EQ(renamed.Text("LastModified"), Call(token, "Trip.LastModified", trip).Text("LastModified"));
  EXPECT_EQ(revision(), "2");
  const ServiceReply renamedInfo = Call(token, "Trip.GetTripInfo", trip);
  EXPECT_EQ(renamedInfo.Required("TripInfo").Attribute("name"), "Big Loop");

  const std::string media = "\x89PNG\r\n\x1a\n-image-bytes";
  EXPECT_EQ(AddMedia(token, tripId, media, 3), "ContentLengthMissmatchException");
  const std::string mediaId = AddMedia(token, tripId, media, media.size(), {{"timestamp", "2024-05-01T10:05:00Z"}});
  ASSERT_GT(std::stoi(mediaId), 0);
  EXPECT_EQ(revision(), "3");

  auto poi = [&](const std::string& type, const std::string& media) {
    Parameters parameters = {{"tripID", tripId}, {"latitude", "46.005000"}, {"longitude", "-110.000000"},
                             {"poiOrder", "1"},  {"name", "Camp"},          {"description", "Dry&amp;flat"}};
    if (!media.empty()) parameters.emplace_back("mediaID", media);
    parameters.emplace_back("pointOfInterestType", type);
    return Call(token, "Trip.AddPoi", parameters);
  };
  EXPECT_GT(std::stoi(poi("Camp", mediaId).Text("PoiID")), 0);
  EXPECT_EQ(poi("", "").ErrorType(), "ParameterException");
  EXPECT_EQ(poi("Castle", "").ErrorType(), "ParameterException");
  const std::string otherMedia = AddMedia(token, Save(token, Gpx("Other", 46.5)), "x", 1);
  EXPECT_EQ(poi("Camp", otherMedia).ErrorType(), "MediaToPoiException");
  const ServiceReply info = Call(token, "Trip.GetTripInfo", trip);
  EXPECT_EQ(info.Required("TripInfo").Attribute("poiCount"), "1");
  EXPECT_EQ(info.Required("TripInfo").Attribute("mediaCount"), "1");

  // A synchronized save of the trip's own document replaces it.
  const std::string synced = Call(token, "Trip.SynchronizedSave", {{"lastUpdatedOverride", "2024-06-01T00:00:00Z"}},
                                  "<gpx id=\"" + tripId + "\"><metadata><name>Synced</name></metadata></gpx>")
                                 .Text("Trip");
  EXPECT_NE(synced.find("id=\"" + tripId + "\""), std::string::npos) << synced;
  EXPECT_EQ(Call(token, "Trip.LastModified", trip).Text("LastModified"), "2024-06-01T00:00:00Z");
  const std::string fresh =
      Call(token, "Trip.SynchronizedSave", {}, "<gpx><wpt lat=\"1\" lon=\"2\"/></gpx>").Text("Trip");
  EXPECT_EQ(fresh.find("id=\"" + tripId + "\""), std::string::npos) << fresh;
  EXPECT_EQ(Call(token, "Trip.GetTripList").Text("Total"), "3");

  EXPECT_TRUE(Call(token, "Trip.Delete", trip).Ok());
  EXPECT_EQ(Error(token, "Trip.GetTripInfo", trip), "RecordNotFoundException");
}

TEST_F(TripTest, SharingOpensATripToOthersAndTheSearch) {
  const NewUser owner = Register();
  const NewUser other = Register();
  const std::string place = UniqueName("Lake");
  const std::string tripId = Save(owner.token, Gpx(place, 10.0));
  EXPECT_EQ(Error(other.token, "Trip.GetTrip", {{"tripID", tripId}}), "NotAuthorizedException");
  EXPECT_EQ(Error(other.token, "Trip.Delete", {{"tripID", tripId}}), "NotAuthorizedException");
  const Parameters search = {{"query", place}, {"pageSize", "10"}, {"offset", "0"}};
  auto found = [&](Parameters more) {
    more.insert(more.begin(), search.begin(), search.end());
    const ServiceReply reply = Call(other.token, "Search.FindTrips", more);
    return reply.Ok() ? reply.Text("Total") : reply.ErrorType();
  };
  EXPECT_EQ(found({}), "0");

  EXPECT_TRUE(Call(owner.token, "Trip.Share",
                   {{"tripID", tripId}, {"share", "true"}, {"publishTo", "friends,club"}, {"culture", "en-US"}})
                  .Ok());
  EXPECT_TRUE(Call(other.token, "Trip.GetTrip", {{"tripID", tripId}}).Ok());
  EXPECT_EQ(ItemAttribute(Call(other.token, "Search.FindTrips", search), "Trips", "id"), tripId);
  const Parameters here = {{"currentLatitude", "10.020000"}, {"currentLongitude", "-110.000000"}};
  const struct {
    Parameters more;
    const char* total;
  } filters[] = {
      {{}, "1"},
      {{{"activities", "Biking,Skiing"}}, "0"},
      {{{"activities", "biking,hiking"}}, "1"},
      {{{"activities", "biking,hiking"}, {"maxDistanceFromMe", "5000"}}, "MissingParameterException"},
      {{{"activities", "biking,hiking"}, {"maxDistanceFromMe", "5000"}, here[0], here[1]}, "1"},
      {{{"activities", "biking,hiking"}, {"maxDistanceFromMe", "1000"}, here[0], here[1]}, "0"},
  };
  for (const auto& filter : filters) EXPECT_EQ(found(filter.more), filter.total) << filter.more.size();

  auto area = [&](const char* top, const char* left, const char* bottom, const char* right) {
    return Call(
        other.token, "Search.FindTripsInArea",
        {{"ulLat", top}, {"ulLon", left}, {"brLat", bottom}, {"brLon", right}, {"pageSize", "100"}, {"offset", "0"}});
  };
  const ServiceReply inArea = area("10.500000", "-110.500000", "9.500000", "-109.500000");
  bool listed = false;
  for (const AnswerNode& trip : inArea.Required("Trips").children) listed |= trip.Attribute("id") == tripId;
  EXPECT_TRUE(listed);
  EXPECT_EQ(area("30", "-120", "0", "-100").ErrorType(), "SearchAreaTooLargeException");
  auto near = [&](const char* radius, const char* pageSize) {
    return Call(
        other.token, "Search.FindTripsNearPoint",
        {{"lat", "10.000000"}, {"lon", "-110.000000"}, {"radius", radius}, {"pageSize", pageSize}, {"offset", "0"}});
  };
  EXPECT_EQ(near("900000", "10").ErrorType(), "SearchAreaTooLargeException");
  EXPECT_EQ(near("100", "0").ErrorType(), "ParameterOutOfRangeException");
  EXPECT_EQ(ItemAttribute(near("10.000000", "1"), "Trips", "id"), tripId);  // nearest first

  // Shared trips are not private ones.
  EXPECT_EQ(Call(owner.token, "PrivateTrips.Get", {{"userId", owner.id}}).Count("PrivateTrips"), 0u);
  EXPECT_EQ(Error(other.token, "PrivateTrips.Get", {{"userId", owner.id}}), "NotAuthorizedException");
}

TEST_F(TripTest, TeamTripsAreTheMembers) {
  const NewAccount account = CreateAccount();
  const std::string token = account.admin.token;
  const std::string teamId =
      *Call(token, "Teams.Add", {{"accountId", account.id}}, "<Team><Name>Trail crew</Name></Team>")
           .FieldText("Team", "Id");
  Call(token, "TeamMembers.Add", {{"teamId", teamId}},
       "<TeamMember><UserId>" + account.admin.id + "</UserId><Role>Lead</Role></TeamMember>");
  const std::string tripId = Save(token, Gpx("Crew walk", 20.0) + "<!-- -->");
  const Parameters teamTrip = {{"teamId", teamId}, {"tripId", tripId}};
  EXPECT_TRUE(Call(token, "TeamTrips.Add", teamTrip, "\n").Ok());
  EXPECT_EQ(Error(token, "TeamTrips.Add", teamTrip, "\n"), "DuplicateValueException");
  const ServiceReply trips = Call(token, "TeamTrips.Get", {{"teamId", teamId}});
  ASSERT_EQ(trips.Count("TeamTrips"), 1u) << trips.body;
  EXPECT_EQ(AttributeNames(trips.Required("TeamTrips").children.at(0)), kTripStatsAttributes);
  EXPECT_EQ(
      ItemAttribute(Call(token, "TeamTrips.GetTripListIDsAndRevisionNumber", {{"teamId", teamId}}), "IDPairs", "Id"),
      tripId);
  EXPECT_EQ(Error(Register().token, "TeamTrips.Get", {{"teamId", teamId}}), "NotAuthorizedException");
  EXPECT_TRUE(Call(token, "TeamTrips.Remove", teamTrip).Ok());
  EXPECT_EQ(Error(token, "TeamTrips.Remove", teamTrip), "RecordNotFoundException");
}

std::vector<std::string> ChildrenWithText(const AnswerNode& node) {
  std::vector<std::string> names;
  for (const AnswerNode& child : node.children) names.push_back(child.text.empty() ? "(empty)" : child.name);
  return names;
}

TEST_F(ServiceTest, WeatherAnswersEveryElementTheSameForAPlace) {
  const NewUser user = Register();
  const Parameters place = {{"latitude", "45.678900"}, {"longitude", "-111.040000"}};
  const ServiceReply current = Call(user.token, "Weather.GetCurrentByLatLon", place);
  ASSERT_TRUE(current.Ok()) << current.body;
  EXPECT_EQ(
      ChildrenWithText(current.Required("CurrentWeather")),
      (std::vector<std::string>{"BarometricPressure", "ClientID", "ConditionID", "DewPoint", "HeatIndex", "Humidity",
                                "ID", "Temperature", "Timestamp", "WindChill", "WindDirection", "WindSpeed"}));
  EXPECT_EQ(current.FieldText("CurrentWeather", "ClientID"), user.id);
  EXPECT_EQ(Call(user.token, "Weather.GetCurrentByLatLon", place).body, current.body);

  const ServiceReply forecast = Call(user.token, "Weather.GetForecastByLatLon", place);
  ASSERT_EQ(forecast.Count("Forecast"), 7u) << forecast.body;
  for (const AnswerNode& day : forecast.Required("Forecast").children) {
    EXPECT_EQ(day.name, "WeatherForecast");
    EXPECT_EQ(ChildrenWithText(day), (std::vector<std::string>{"ConditionID", "DayOfWeekID", "High", "Low",
                                                               "MoonPhaseID", "Sunrise", "SunSet"}));
  }
  EXPECT_EQ(Error(user.token, "Weather.GetForecastByLatLon", {{"latitude", "95"}, {"longitude", "0"}}),
            "ParameterOutOfRangeException");
}

}  // namespace
}  // namespace velinst::service::test
