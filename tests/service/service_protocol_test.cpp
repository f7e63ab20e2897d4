// What every client relies on, whatever the method: the envelope, the
// headers, the paths, the error answers, the control path.
#include <gtest/gtest.h>

#include <chrono>
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
    if (!reply.Ok()) {
      EXPECT_NE(reply.ErrorType(), "RequestException") << method << ": " << reply.body;
    }
  }
}

constexpr const char* kHandler = "WebServices/Api/Rest/RestHandler.ashx";

TEST_F(ServiceTest, ErrorTypesOfTheRequestItself) {
  const struct {
    std::string query;
    const char* type;
  } cases[] = {
      {"?method=Account.Nothing", "RequestException"},
      {"", "RequestException"},
      {"?method=Account.Login&username=a&password=bbbbbb", "ParameterException"},
      {"?method=Account.Login&encryptedData=bm90LWVuY3J5cHRlZA%3d%3d", "ParameterException"},
      {"?method=Account.Login&encryptedData=%%%", "ParameterException"},
      {"?method=Weather.GetCurrentByLatLon&latitude=1&longitude=1", "MissingParameterException"},
      {"?method=Weather.GetCurrentByLatLon&authToken=nope&latitude=1&longitude=1", "InvalidAuthTokenException"},
      {"?method=Resellers.GetById&id=x1", "ParameterException"},
      {"?method=Resellers.GetById&id=99999999", "RecordNotFoundException"},
      {"?method=Resellers.GetById&id=99999999999", "ParameterException"},
  };
  for (const auto& c : cases) {
    const ServiceReply reply = client_.Request(kHandler + c.query);
    EXPECT_TRUE(WellFormedAnswer(reply)) << c.query;
    EXPECT_EQ(reply.ErrorType(), c.type) << c.query << ": " << reply.body;
  }
}

TEST_F(ServiceTest, ServicePathInAnyCaseOthersAnswer404WithABody) {
  const std::string stamp = std::string(kHandler) + "?method=Account.GetTimeStamp";
  for (const std::string& path :
       {stamp, "/" + stamp, std::string("webservices/api/rest/resthandler.ashx?method=account.gettimestamp")}) {
    const ServiceReply reply = client_.Request(path);
    ASSERT_TRUE(WellFormedAnswer(reply)) << path;
    EXPECT_EQ(reply.Text("CurrentTimeStamp").size(), 20u) << reply.body;
  }
  for (const char* path : {"", "WebServices/Api/Rest/Other.ashx?method=Account.GetTimeStamp", "favicon.ico"}) {
    const ServiceReply reply = client_.Request(path);
    EXPECT_EQ(reply.status, 404) << path;
    EXPECT_TRUE(WellFormedAnswer(reply)) << path;
    EXPECT_EQ(reply.ErrorType(), "RecordNotFoundException");
  }
}

TEST_F(ServiceTest, TokensExpireAfterTheirLifetime) {
  const NewUser user = Register();
  EXPECT_TRUE(Call(user.token, "Trip.GetTripList").Ok());
  // Ten seconds short of the hour, then ten past: the clock counts whole
  // seconds, and a slow run (under Wine) can cross one between the calls.
  client_.AdvanceClock(3590);
  EXPECT_TRUE(Call(user.token, "Trip.GetTripList").Ok());
  client_.AdvanceClock(20);
  EXPECT_EQ(Error(user.token, "Trip.GetTripList"), "ExpiredAuthTokenException");
  // A new sign-in gives a token that works again.
  EXPECT_TRUE(Call(client_.Login(user.name, user.password), "Trip.GetTripList").Ok());
}

TEST_F(ServiceTest, AnonymousTokensNeedAFreshTimeStamp) {
  const std::string stamp = client_.Call("Account.GetTimeStamp", {}).Text("CurrentTimeStamp");
  const Parameters device = {{"timestamp", stamp},  {"hardwareID", "HW-1"}, {"appName", "HalvardOutdoors"},
                             {"appVersion", "6.0"}, {"manufacturer", ""},   {"model", ""},
                             {"carrier", ""},       {"firmware", ""},       {"drmInfo", ""}};
  const ServiceReply granted = client_.Call("Account.GetAnonymousAuthToken", device, Sealing::kDeviceInfo);
  ASSERT_TRUE(granted.Ok()) << Describe(granted);
  const std::string token = granted.Text("AuthToken");
  EXPECT_TRUE(Call(token, "Weather.GetCurrentByLatLon", {{"latitude", "45.0"}, {"longitude", "-110.0"}}).Ok());
  EXPECT_EQ(Error(token, "Trip.GetTripList"), "NotAuthorizedException");
  EXPECT_EQ(client_.Call("Account.GetAnonymousAuthToken", device).ErrorType(), "ParameterException");

  Parameters stale = device;
  stale[0].second = "2001-01-01T00:00:00Z";
  EXPECT_EQ(client_.Call("Account.GetAnonymousAuthToken", stale, Sealing::kDeviceInfo).ErrorType(),
            "ParameterOutOfRangeException");
  stale[0].second = "soon";
  EXPECT_EQ(client_.Call("Account.GetAnonymousAuthToken", stale, Sealing::kDeviceInfo).ErrorType(),
            "ParameterException");
}

TEST_F(ServiceTest, ScriptedAnswersComeBeforeTheService) {
  const std::string method = "Account.GetTimeStamp";
  auto call = [&] { return client_.Call(method, {}); };
  auto script = [&](std::initializer_list<ScriptedAnswer> answers) {
    client_.Control().Reset();
    for (const ScriptedAnswer& answer : answers) client_.Control().Answer(method, answer);
  };
  const ScriptedAnswer missing{.status = 404, .body = "gone"};

  script({{.contentType = "text/xml; charset=utf-8",
           .pragma = "status=OK",
           .body = "<rsp status=\"err\"><err type=\"RequestTooLargeException\" msg=\"scripted\"/></rsp>"}});
  EXPECT_EQ(call().ErrorType(), "RequestTooLargeException");
  EXPECT_EQ(call().ErrorType(), "RequestTooLargeException");  // the last answer repeats
  script({});
  EXPECT_TRUE(call().Ok());

  script({{.pragma = "status=ERROR;errorcode=27", .body = "<rsp status=\"ok\"/>"},
          {.contentType = "application/json", .body = "{}"},
          {.body = "<rsp status=\"ok\"><CurrentTimeStamp>"},
          {.status = 500, .body = "<rsp status=\"ok\"/>"},
          missing});
  const ServiceReply first = call();
  EXPECT_FALSE(first.received);  // status=ERROR: the client reads no body
  EXPECT_EQ(first.statusText, "ERROR");
  EXPECT_EQ(call().contentType, "application/json");
  EXPECT_FALSE(call().answer.has_value());
  EXPECT_EQ(call().status, 500);
  const ServiceReply last = call();
  EXPECT_EQ(last.status, 404);
  EXPECT_EQ(last.body, "gone");

  script({{.pragma = "status=OK", .body = "<rsp status=\"ok\"/>", .delayMs = 300}});
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(call().Ok());
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(290));

  // WinInet sends again on a dropped connection: every attempt is dropped.
  // Wine's WinInet may deliver an empty body instead of nothing.
  const ScriptedAnswer dropped{.drop = true};
  script({dropped, dropped, dropped, dropped, dropped});
  const ServiceReply cut = call();
  EXPECT_TRUE(!cut.received || cut.body.empty());
  script({});
  EXPECT_TRUE(call().Ok());

  // Methods are scripted one by one: the others are the service's.
  script({missing});
  EXPECT_TRUE(client_.Call("Resellers.Get", {}).Ok());
  client_.Control().Reset();
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
