// What every client relies on, whatever the method: the envelope, the
// headers, the paths, the error answers, the control path.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "service_test_fixture.h"

// Scripted answers name only the fields they change; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace velinst::service::test {
namespace {

using testserver::ScriptedAnswer;

// Every method a client calls.
const char* const kCatalogue =
    "Account.DisplayNameExists EmailAddressExists UsernameExists GetTimeStamp GetAnonymousAuthToken Login Register "
    "ChangePassword ResetPassword Update Search.FindTrips FindTripsInArea FindTripsNearPoint Trip.AddMedia AddPoi "
    "Delete GetTrip GetTripInfo GetTripList GetTripListByDate GetTripListIDs GetTripListIDsAndRevisionNumber "
    "LastModified Rename Save Share SynchronizedSave Weather.GetCurrentByLatLon GetForecastByLatLon Accounts.Get "
    "GetById GetByProductId Find Add Create Update Remove AccountUsers.Get GetByTeamId GetById Add Transfer Update "
    "Remove SetPassword Roles.Get Add Remove Privileges.Get Add Remove Teams.Get GetById Find Add Update Remove "
    "TeamMembers.Get Add Update Remove Authz.GetFeatures LiveTracking.Get Update TeamTrips.Get "
    "GetTripListIDsAndRevisionNumber Add Remove PrivateTrips.Get Resellers.Get GetById Add Update Remove "
    "ResellerContacts.Get Add Update Remove S3.GetTemporaryCredentials";

// The catalogue's methods: a word with a dot names the service of the words after it.
std::vector<std::string> Methods() {
  std::vector<std::string> methods;
  std::istringstream words(kCatalogue);
  std::string service;
  for (std::string word; words >> word;) {
    const std::size_t dot = word.find('.');
    if (dot != std::string::npos) service = word.substr(0, dot + 1), word.erase(0, dot + 1);
    methods.push_back(service + word);
  }
  return methods;
}

TEST_F(ServiceTest, EveryMethodIsServedWithAnEnvelope) {
  const std::vector<std::string> methods = Methods();
  ASSERT_EQ(methods.size(), 79u);
  for (const std::string& method : methods) {
    const ServiceReply reply = client_.Call(method, {});
    ASSERT_TRUE(WellFormedAnswer(reply)) << method;
    EXPECT_EQ(reply.status, 200) << method;
    EXPECT_NE(reply.ErrorType(), "RequestException") << method << ": " << reply.body;
  }
}

// The service path in any case; other paths answer 404 with a body.
TEST_F(ServiceTest, ErrorTypesOfTheRequestItself) {
  const std::string handler = "WebServices/Api/Rest/RestHandler.ashx";
  const struct {
    std::string path;
    const char* type;  // empty: an OK answer
    int status;
  } cases[] = {
      {handler + "?method=Account.GetTimeStamp", "", 200},
      {"/" + handler + "?method=Account.GetTimeStamp", "", 200},
      {"webservices/api/rest/resthandler.ashx?method=account.gettimestamp", "", 200},
      {"", "RecordNotFoundException", 404},
      {"WebServices/Api/Rest/Other.ashx?method=Account.GetTimeStamp", "RecordNotFoundException", 404},
      {"favicon.ico", "RecordNotFoundException", 404},
      {handler + "?method=Account.Nothing", "RequestException", 200},
      {handler, "RequestException", 200},
      {handler + "?method=Account.Login&username=a&password=bbbbbb", "ParameterException", 200},
      {handler + "?method=Account.Login&encryptedData=bm90LWVuY3J5cHRlZA%3d%3d", "ParameterException", 200},
      {handler + "?method=Account.Login&encryptedData=%%%", "ParameterException", 200},
      {handler + "?method=Weather.GetCurrentByLatLon&latitude=1&longitude=1", "MissingParameterException", 200},
      {handler + "?method=Weather.GetCurrentByLatLon&authToken=nope&latitude=1&longitude=1",
       "InvalidAuthTokenException", 200},
      {handler + "?method=Resellers.GetById&id=x1", "ParameterException", 200},
      {handler + "?method=Resellers.GetById&id=99999999", "RecordNotFoundException", 200},
      {handler + "?method=Resellers.GetById&id=99999999999", "ParameterException", 200},
  };
  for (const auto& c : cases) {
    const ServiceReply reply = client_.Request(c.path);
    EXPECT_TRUE(WellFormedAnswer(reply)) << c.path;
    EXPECT_EQ(reply.ErrorType(), c.type) << c.path << ": " << reply.body;
    EXPECT_EQ(reply.status, c.status) << c.path;
  }
}

TEST_F(ServiceTest, AnonymousTokensNeedAFreshTimeStamp) {
  const std::string stamp = client_.Call("Account.GetTimeStamp", {}).Text("CurrentTimeStamp");
  const Parameters device = {{"timestamp", stamp},  {"hardwareID", "HW-1"}, {"appName", "HalvardOutdoors"},
                             {"appVersion", "6.0"}, {"manufacturer", ""},   {"model", ""},
                             {"carrier", ""},       {"firmware", ""},       {"drmInfo", ""}};
  const std::string token =
      client_.Call("Account.GetAnonymousAuthToken", device, Sealing::kDeviceInfo).Text("AuthToken");
  EXPECT_TRUE(Call(token, "Weather.GetCurrentByLatLon", {{"latitude", "45.0"}, {"longitude", "-110.0"}}).Ok());
  EXPECT_EQ(Error(token, "Trip.GetTripList"), "NotAuthorizedException");
  EXPECT_EQ(client_.Call("Account.GetAnonymousAuthToken", device).ErrorType(), "ParameterException");

  Parameters stale = device;
  for (const auto& [when, type] :
       {std::pair{"2001-01-01T00:00:00Z", "ParameterOutOfRangeException"}, std::pair{"soon", "ParameterException"}}) {
    stale[0].second = when;
    EXPECT_EQ(client_.Call("Account.GetAnonymousAuthToken", stale, Sealing::kDeviceInfo).ErrorType(), type) << when;
  }
}

TEST_F(ServiceTest, ScriptedAnswersComeBeforeTheService) {
  const std::string method = "Account.GetTimeStamp";
  auto call = [&] { return client_.Call(method, {}); };
  auto script = [&](std::initializer_list<ScriptedAnswer> answers) {
    client_.Control().Reset();
    for (const ScriptedAnswer& answer : answers) client_.Control().Answer(method, answer);
  };
  script({{.pragma = "status=ERROR;errorcode=27", .body = "<rsp status=\"ok\"/>"},
          {.contentType = "text/xml; charset=utf-8",
           .pragma = "status=OK",
           .body = "<rsp status=\"err\"><err type=\"RequestTooLargeException\" msg=\"scripted\"/></rsp>"}});
  const ServiceReply first = call();
  EXPECT_FALSE(first.received);  // status=ERROR: the client reads no body
  EXPECT_EQ(first.statusText, "ERROR");
  EXPECT_EQ(call().ErrorType(), "RequestTooLargeException");
  EXPECT_EQ(call().ErrorType(), "RequestTooLargeException");  // the last answer repeats
  EXPECT_TRUE(client_.Call("Resellers.Get", {}).Ok());        // other methods stay the service's

  // WinInet sends again on a dropped connection: every attempt is dropped.
  // Wine's WinInet may deliver an empty body instead of nothing.
  const ScriptedAnswer dropped{.drop = true};
  script({dropped, dropped, dropped, dropped, dropped});
  const ServiceReply cut = call();
  EXPECT_TRUE(!cut.received || cut.body.empty());
  script({});
  EXPECT_TRUE(call().Ok());
}

TEST_F(ServiceTest, MalformedAndOversizedRequestsAreRefused) {
  const std::string admin = client_.AdminToken();
  const Parameters create = {{"authToken", admin}, {"users", "1"}, {"productId", UniqueName("p")}, {"sku", "S"}};
  struct Case {
    std::string body;
    const char* type;
  } cases[] = {
      {"", "MissingParameterException"},
      {"<Account><Name>x</Account>", "ParameterException"},
      {"<Team><Name>x</Name></Team>", "ParameterException"},
      {"<?xml version=\"1.0\"?><!DOCTYPE Account [<!ENTITY x SYSTEM "
       "\"file:///etc/passwd\">]><Account><Name>&x;</Name></Account>",
       "ParameterException"},
      {"<!DOCTYPE a [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b "
       "\"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]><Account><Name>&b;</Name></Account>",
       "ParameterException"},
      {"<Account><Name>" + std::string(2000, 'n') + "</Name></Account>", "ParameterOutOfRangeException"},
      {"<Account><ContactEmail>not-an-address</ContactEmail></Account>", "EmailAddressFormatException"},
      {std::string("<Account>\0</Account>", 20), "ParameterException"},
  };
  for (const Case& c : cases) {
    const ServiceReply reply = client_.Call("Accounts.Create", create, Sealing::kPlain, c.body);
    EXPECT_TRUE(WellFormedAnswer(reply)) << c.body;
    EXPECT_EQ(reply.ErrorType(), c.type) << c.body.substr(0, 80) << ": " << reply.body;
  }
  // Nothing of the refused requests was kept.
  EXPECT_EQ(Error(admin, "Accounts.GetByProductId", {{"productId", create[2].second}}), "RecordNotFoundException");

  const ServiceReply tooLarge = Call(admin, "Trip.Save", {}, std::string(16 * 1024 * 1024 + 1, 'x'));
  EXPECT_EQ(tooLarge.status, 413);
  EXPECT_TRUE(WellFormedAnswer(tooLarge));
  EXPECT_EQ(tooLarge.ErrorType(), "RequestTooLargeException");
  EXPECT_EQ(Error("x", "Trip.Save", {}, std::string(16 * 1024 * 1024, 'x')), "InvalidAuthTokenException");
  EXPECT_TRUE(client_.Call("Account.GetTimeStamp", {}).Ok());
}

}  // namespace
}  // namespace velinst::service::test
