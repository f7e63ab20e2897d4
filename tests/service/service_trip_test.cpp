// Trips, searches, team and private trip lists, and the weather over HTTP.
#include <gtest/gtest.h>

#include <set>

#include "service_test_fixture.h"

namespace velinst::service::test {
namespace {

std::string Gpx(const std::string& name, double latitude) {
  const std::string lat1 = std::to_string(latitude), lat2 = std::to_string(latitude + 0.01);
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" creator=\"test\">\n<metadata><name>" + name +
         "</name><desc>&lt;b&gt;Bold&lt;/b&gt; views</desc></metadata>\n<trk><type>Hiking</type><trkseg>\n"
         "<trkpt lat=\"" +
         lat1 +
         "\" lon=\"-110.0\"><ele>1000</ele><time>2024-05-01T10:00:00Z</time></trkpt>\n"
         "<trkpt lat=\"" +
         lat2 +
         "\" lon=\"-110.0\"><ele>1100</ele><time>2024-05-01T10:20:00Z</time></trkpt>\n"
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
    const ServiceReply saved = client_.Call("Trip.Save", {{"authToken", token}}, Sealing::kPlain, document);
    EXPECT_TRUE(saved.Ok()) << saved.body;
    return saved.Text("TripID");
  }
};

TEST_F(TripTest, SavedTripsAnswerTheirFigures) {
  const NewUser user = Register();
  const std::string document = Gpx("Ridge &amp; Valley", 45.0);
  const std::string tripId = Save(user.token, document);
  ASSERT_GT(std::stoi(tripId), 0);

  const ServiceReply info = client_.Call("Trip.GetTripInfo", {{"authToken", user.token}, {"tripID", tripId}});
  ASSERT_TRUE(info.Ok()) << info.body;
  const AnswerNode& trip = info.Required("TripInfo");
  EXPECT_EQ(AttributeNames(trip),
            (std::set<std::string>{"id", "name", "date", "distance", "calories", "duration", "resting", "unaccounted",
                                   "summary", "eleGain", "eleLoss", "trailhead", "userID", "poiCount", "trackCount",
                                   "mediaCount", "routeCount", "totalPointCount"}));
  EXPECT_EQ(trip.Attribute("name"), "Ridge &amp; Valley");
  EXPECT_EQ(trip.Attribute("distance"), "1112.0");
  EXPECT_EQ(trip.Attribute("duration"), "1200");
  EXPECT_EQ(trip.Attribute("eleGain"), "100.0");
  EXPECT_EQ(trip.Attribute("trailhead"), "45.000000,-110.000000");
  EXPECT_EQ(trip.Attribute("userID"), user.id);
  EXPECT_EQ(trip.Attribute("totalPointCount"), "2");
  EXPECT_EQ(trip.Attribute("date"), "2024-05-01T10:00:00Z");

  EXPECT_EQ(client_.Call("Trip.GetTrip", {{"authToken", user.token}, {"tripID", tripId}}).Text("GetTrip"), document);
  const std::string filtered =
      client_.Call("Trip.GetTrip", {{"authToken", user.token}, {"tripID", tripId}, {"filterHtml", "true"}})
          .Text("GetTrip");
  EXPECT_NE(filtered.find("<desc>Bold views</desc>"), std::string::npos) << filtered;

  const ServiceReply list = client_.Call("Trip.GetTripList", {{"authToken", user.token}});
  ASSERT_TRUE(list.Ok()) << list.body;
  EXPECT_EQ(list.answer->children.size(), 2u);  // Total and Trips, nothing else
  EXPECT_EQ(list.Text("Total"), "1");
  ASSERT_EQ(list.Count("Trips"), 1u);
  EXPECT_EQ(list.Required("Trips").children.at(0).name, "TripStats");
  EXPECT_EQ(AttributeNames(list.Required("Trips").children.at(0)), kTripStatsAttributes);
  EXPECT_EQ(list.Required("Trips").children.at(0).Attribute("activityType"), "Hiking");

  const ServiceReply ids = client_.Call("Trip.GetTripListIDs", {{"authToken", user.token}});
  EXPECT_EQ(ids.FieldText("TripIDs", "ID"), tripId);
  const ServiceReply byDate =
      client_.Call("Trip.GetTripListByDate", {{"authToken", user.token}, {"modifiedSince", "2001-01-01T00:00:00Z"}});
  EXPECT_EQ(byDate.Count("Trips"), 1u);
  EXPECT_EQ(byDate.Text("synchronizedDate").size(), 20u);
  EXPECT_EQ(client_.Call("Trip.GetTripListByDate", {{"authToken", user.token}, {"modifiedSince", "3000-01-01"}})
                .Count("Trips"),
            0u);
}

TEST_F(TripTest, ChangesMoveTheRevisionAndModificationTime) {
  const NewUser user = Register();
  const std::string tripId = Save(user.token, Gpx("Loop", 46.0));
  auto revision = [&] {
    const ServiceReply pairs = client_.Call("Trip.GetTripListIDsAndRevisionNumber", {{"authToken", user.token}});
    const AnswerNode& pair = pairs.Required("IDPairs").children.at(0);
    EXPECT_EQ(pair.Attribute("Id"), tripId);
    return pair.Attribute("Value");
  };
  EXPECT_EQ(revision(), "1");
  const ServiceReply renamed =
      client_.Call("Trip.Rename", {{"authToken", user.token}, {"tripID", tripId}, {"name", "Big%20Loop"}});
  ASSERT_TRUE(renamed.Ok()) << renamed.body;
  EXPECT_EQ(renamed.Text("LastModified"),
            client_.Call("Trip.LastModified", {{"authToken", user.token}, {"tripID", tripId}}).Text("LastModified"));
  EXPECT_EQ(revision(), "2");
  const ServiceReply renamedInfo = client_.Call("Trip.GetTripInfo", {{"authToken", user.token}, {"tripID", tripId}});
  EXPECT_EQ(renamedInfo.Required("TripInfo").Attribute("name"), "Big Loop");

  const std::string media = "\x89PNG\r\n\x1a\n-image-bytes";
  EXPECT_EQ(client_
                .Call("Trip.AddMedia",
                      {{"authToken", user.token},
                       {"tripID", tripId},
                       {"author", "me"},
                       {"copyright", ""},
                       {"contentType", "image/png"},
                       {"filename", "a.png"},
                       {"size", "3"}},
                      Sealing::kPlain, media)
                .ErrorType(),
            "ContentLengthMissmatchException");
  const ServiceReply added = client_.Call("Trip.AddMedia",
                                          {{"authToken", user.token},
                                           {"tripID", tripId},
                                           {"timestamp", "2024-05-01T10:05:00Z"},
                                           {"author", "me"},
                                           {"copyright", ""},
                                           {"contentType", "image/png"},
                                           {"filename", "a.png"},
                                           {"size", std::to_string(media.size())}},
                                          Sealing::kPlain, media);
  ASSERT_TRUE(added.Ok()) << added.body;
  const std::string mediaId = added.Text("MediaID");
  EXPECT_EQ(revision(), "3");

  auto poi = [&](const std::string& type, const std::string& media) {
    Parameters parameters = {{"authToken", user.token},      {"tripID", tripId}, {"latitude", "46.005000"},
                             {"longitude", "-110.000000"},   {"poiOrder", "1"},  {"name", "Camp"},
                             {"description", "Dry&amp;flat"}};
    if (!media.empty()) parameters.emplace_back("mediaID", media);
    parameters.emplace_back("pointOfInterestType", type);
    return client_.Call("Trip.AddPoi", parameters);
  };
  EXPECT_GT(std::stoi(poi("Camp", mediaId).Text("PoiID")), 0);
  EXPECT_EQ(poi("", "").ErrorType(), "ParameterException");
  EXPECT_EQ(poi("Castle", "").ErrorType(), "ParameterException");
  const std::string otherTrip = Save(user.token, Gpx("Other", 46.5));
  const std::string otherMedia = client_
                                     .Call("Trip.AddMedia",
                                           {{"authToken", user.token},
                                            {"tripID", otherTrip},
                                            {"author", ""},
                                            {"copyright", ""},
                                            {"contentType", "image/png"},
                                            {"filename", "b.png"},
                                            {"size", "1"}},
                                           Sealing::kPlain, "x")
                                     .Text("MediaID");
  EXPECT_EQ(poi("Camp", otherMedia).ErrorType(), "MediaToPoiException");
  const ServiceReply info = client_.Call("Trip.GetTripInfo", {{"authToken", user.token}, {"tripID", tripId}});
  EXPECT_EQ(info.Required("TripInfo").Attribute("poiCount"), "1");
  EXPECT_EQ(info.Required("TripInfo").Attribute("mediaCount"), "1");

  // A synchronized save of the trip's own document replaces it.
  const std::string synced =
      client_
          .Call("Trip.SynchronizedSave", {{"authToken", user.token}, {"lastUpdatedOverride", "2024-06-01T00:00:00Z"}},
                Sealing::kPlain, "<gpx id=\"" + tripId + "\"><metadata><name>Synced</name></metadata></gpx>")
          .Text("Trip");
  EXPECT_NE(synced.find("id=\"" + tripId + "\""), std::string::npos) << synced;
  EXPECT_EQ(client_.Call("Trip.LastModified", {{"authToken", user.token}, {"tripID", tripId}}).Text("LastModified"),
            "2024-06-01T00:00:00Z");
  const std::string fresh = client_
                                .Call("Trip.SynchronizedSave", {{"authToken", user.token}}, Sealing::kPlain,
                                      "<gpx><wpt lat=\"1\" lon=\"2\"/></gpx>")
                                .Text("Trip");
  EXPECT_EQ(fresh.find("id=\"" + tripId + "\""), std::string::npos) << fresh;
  EXPECT_EQ(client_.Call("Trip.GetTripList", {{"authToken", user.token}}).Text("Total"), "3");

  EXPECT_TRUE(client_.Call("Trip.Delete", {{"authToken", user.token}, {"tripID", tripId}}).Ok());
  EXPECT_EQ(client_.Call("Trip.GetTripInfo", {{"authToken", user.token}, {"tripID", tripId}}).ErrorType(),
            "RecordNotFoundException");
}

TEST_F(TripTest, SharingOpensATripToOthersAndTheSearch) {
  const NewUser owner = Register();
  const NewUser other = Register();
  const std::string place = UniqueName("Lake");
  const std::string tripId = Save(owner.token, Gpx(place, 10.0));
  EXPECT_EQ(client_.Call("Trip.GetTrip", {{"authToken", other.token}, {"tripID", tripId}}).ErrorType(),
            "NotAuthorizedException");
  EXPECT_EQ(client_.Call("Trip.Delete", {{"authToken", other.token}, {"tripID", tripId}}).ErrorType(),
            "NotAuthorizedException");
  const Parameters search = {{"authToken", other.token}, {"query", place}, {"pageSize", "10"}, {"offset", "0"}};
  EXPECT_EQ(client_.Call("Search.FindTrips", search).Text("Total"), "0");

  EXPECT_TRUE(client_
                  .Call("Trip.Share", {{"authToken", owner.token},
                                       {"tripID", tripId},
                                       {"share", "true"},
                                       {"publishTo", "friends,club"},
                                       {"culture", "en-US"}})
                  .Ok());
  EXPECT_TRUE(client_.Call("Trip.GetTrip", {{"authToken", other.token}, {"tripID", tripId}}).Ok());
  const ServiceReply found = client_.Call("Search.FindTrips", search);
  ASSERT_TRUE(found.Ok()) << found.body;
  EXPECT_EQ(found.Text("Total"), "1");
  EXPECT_EQ(found.Required("Trips").children.at(0).Attribute("id"), tripId);

  Parameters filtered = search;
  filtered.emplace_back("activities", "Biking,Skiing");
  EXPECT_EQ(client_.Call("Search.FindTrips", filtered).Text("Total"), "0");
  filtered.back().second = "biking,hiking";
  EXPECT_EQ(client_.Call("Search.FindTrips", filtered).Text("Total"), "1");
  filtered.emplace_back("maxDistanceFromMe", "5000");
  EXPECT_EQ(client_.Call("Search.FindTrips", filtered).ErrorType(), "MissingParameterException");
  filtered.emplace_back("currentLatitude", "10.020000");
  filtered.emplace_back("currentLongitude", "-110.000000");
  EXPECT_EQ(client_.Call("Search.FindTrips", filtered).Text("Total"), "1");
  filtered[5].second = "1000";
  EXPECT_EQ(client_.Call("Search.FindTrips", filtered).Text("Total"), "0");

  const ServiceReply area = client_.Call("Search.FindTripsInArea", {{"authToken", other.token},
                                                                    {"ulLat", "10.500000"},
                                                                    {"ulLon", "-110.500000"},
                                                                    {"brLat", "9.500000"},
                                                                    {"brLon", "-109.500000"},
                                                                    {"pageSize", "100"},
                                                                    {"offset", "0"}});
  ASSERT_TRUE(area.Ok()) << area.body;
  bool listed = false;
  for (const AnswerNode& trip : area.Required("Trips").children) listed |= trip.Attribute("id") == tripId;
  EXPECT_TRUE(listed);
  EXPECT_EQ(client_
                .Call("Search.FindTripsInArea", {{"authToken", other.token},
                                                 {"ulLat", "30"},
                                                 {"ulLon", "-120"},
                                                 {"brLat", "0"},
                                                 {"brLon", "-100"},
                                                 {"pageSize", "10"},
                                                 {"offset", "0"}})
                .ErrorType(),
            "SearchAreaTooLargeException");
  EXPECT_EQ(client_
                .Call("Search.FindTripsNearPoint", {{"authToken", other.token},
                                                    {"lat", "10"},
                                                    {"lon", "-110"},
                                                    {"radius", "900000"},
                                                    {"pageSize", "10"},
                                                    {"offset", "0"}})
                .ErrorType(),
            "SearchAreaTooLargeException");
  EXPECT_EQ(client_
                .Call("Search.FindTripsNearPoint", {{"authToken", other.token},
                                                    {"lat", "10"},
                                                    {"lon", "-110"},
                                                    {"radius", "100"},
                                                    {"pageSize", "0"},
                                                    {"offset", "0"}})
                .ErrorType(),
            "ParameterOutOfRangeException");
  const ServiceReply near = client_.Call("Search.FindTripsNearPoint", {{"authToken", other.token},
                                                                       {"lat", "10.000000"},
                                                                       {"lon", "-110.000000"},
                                                                       {"radius", "10.000000"},
                                                                       {"pageSize", "1"},
                                                                       {"offset", "0"}});
  EXPECT_EQ(near.Required("Trips").children.at(0).Attribute("id"), tripId);  // nearest first

  // Shared trips are not private ones.
  EXPECT_EQ(client_.Call("PrivateTrips.Get", {{"authToken", owner.token}, {"userId", owner.id}}).Count("PrivateTrips"),
            0u);
  EXPECT_EQ(client_.Call("PrivateTrips.Get", {{"authToken", other.token}, {"userId", owner.id}}).ErrorType(),
            "NotAuthorizedException");
}

TEST_F(TripTest, TeamTripsAreTheMembers) {
  const NewAccount account = CreateAccount();
  const std::string token = account.admin.token;
  const std::string teamId = *client_
                                  .Call("Teams.Add", {{"authToken", token}, {"accountId", account.id}}, Sealing::kPlain,
                                        "<Team><Name>Trail crew</Name></Team>")
                                  .FieldText("Team", "Id");
  client_.Call("TeamMembers.Add", {{"authToken", token}, {"teamId", teamId}}, Sealing::kPlain,
               "<TeamMember><UserId>" + account.admin.id + "</UserId><Role>Lead</Role></TeamMember>");
  const std::string tripId = Save(token, Gpx("Crew walk", 20.0) + "<!-- -->");
  EXPECT_TRUE(
      client_
          .Call("TeamTrips.Add", {{"authToken", token}, {"teamId", teamId}, {"tripId", tripId}}, Sealing::kPlain, "\n")
          .Ok());
  EXPECT_EQ(
      client_
          .Call("TeamTrips.Add", {{"authToken", token}, {"teamId", teamId}, {"tripId", tripId}}, Sealing::kPlain, "\n")
          .ErrorType(),
      "DuplicateValueException");
  const ServiceReply trips = client_.Call("TeamTrips.Get", {{"authToken", token}, {"teamId", teamId}});
  ASSERT_TRUE(trips.Ok()) << trips.body;
  ASSERT_EQ(trips.Count("TeamTrips"), 1u);
  EXPECT_EQ(AttributeNames(trips.Required("TeamTrips").children.at(0)), kTripStatsAttributes);
  const ServiceReply pairs =
      client_.Call("TeamTrips.GetTripListIDsAndRevisionNumber", {{"authToken", token}, {"teamId", teamId}});
  EXPECT_EQ(pairs.Required("IDPairs").children.at(0).Attribute("Id"), tripId);
  const NewUser outsider = Register();
  EXPECT_EQ(client_.Call("TeamTrips.Get", {{"authToken", outsider.token}, {"teamId", teamId}}).ErrorType(),
            "NotAuthorizedException");
  EXPECT_TRUE(client_.Call("TeamTrips.Remove", {{"authToken", token}, {"teamId", teamId}, {"tripId", tripId}}).Ok());
  EXPECT_EQ(
      client_.Call("TeamTrips.Remove", {{"authToken", token}, {"teamId", teamId}, {"tripId", tripId}}).ErrorType(),
      "RecordNotFoundException");
}

TEST_F(ServiceTest, WeatherAnswersEveryElementTheSameForAPlace) {
  const NewUser user = Register();
  const Parameters place = {{"authToken", user.token}, {"latitude", "45.678900"}, {"longitude", "-111.040000"}};
  const ServiceReply current = client_.Call("Weather.GetCurrentByLatLon", place);
  ASSERT_TRUE(current.Ok()) << current.body;
  std::vector<std::string> names;
  for (const AnswerNode& child : current.Required("CurrentWeather").children) {
    names.push_back(child.name);
    EXPECT_FALSE(child.text.empty()) << child.name;
  }
  EXPECT_EQ(names, (std::vector<std::string>{"BarometricPressure", "ClientID", "ConditionID", "DewPoint", "HeatIndex",
                                             "Humidity", "ID", "Temperature", "Timestamp", "WindChill", "WindDirection",
                                             "WindSpeed"}));
  EXPECT_EQ(current.FieldText("CurrentWeather", "ClientID"), user.id);
  EXPECT_EQ(client_.Call("Weather.GetCurrentByLatLon", place).body, current.body);

  const ServiceReply forecast = client_.Call("Weather.GetForecastByLatLon", place);
  ASSERT_TRUE(forecast.Ok()) << forecast.body;
  const AnswerNode& days = forecast.Required("Forecast");
  ASSERT_EQ(days.children.size(), 7u);
  for (const AnswerNode& day : days.children) {
    EXPECT_EQ(day.name, "WeatherForecast");
    std::vector<std::string> fields;
    for (const AnswerNode& field : day.children) {
      fields.push_back(field.name);
      EXPECT_FALSE(field.text.empty()) << field.name;
    }
    EXPECT_EQ(fields, (std::vector<std::string>{"ConditionID", "DayOfWeekID", "High", "Low", "MoonPhaseID", "Sunrise",
                                                "SunSet"}));
  }
  EXPECT_EQ(
      client_.Call("Weather.GetForecastByLatLon", {{"authToken", user.token}, {"latitude", "95"}, {"longitude", "0"}})
          .ErrorType(),
      "ParameterOutOfRangeException");
}

}  // namespace
}  // namespace velinst::service::test
