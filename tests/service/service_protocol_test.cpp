// What every client relies on, whatever the method: the envelope, the
// headers, the paths, the error answers, the control path.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "service_test_fixture.h"

namespace velinst::service::test {
namespace {

using testserver::ScriptedAnswer;

const char* const kCatalogue[] = {
    "Account.DisplayNameExists", "Account.EmailAddressExists", "Account.UsernameExists", "Account.GetTimeStamp",
    "Account.GetAnonymousAuthToken", "Account.Login", "Account.Register", "Account.ChangePassword",
    "Account.ResetPassword", "Account.Update", "Search.FindTrips", "Search.FindTripsInArea",
    "Search.FindTripsNearPoint", "Trip.AddMedia", "Trip.AddPoi", "Trip.Delete", "Trip.GetTrip", "Trip.GetTripInfo",
    "Trip.GetTripList", "Trip.GetTripListByDate", "Trip.GetTripListIDs", "Trip.GetTripListIDsAndRevisionNumber",
    "Trip.LastModified", "Trip.Rename", "Trip.Save", "Trip.Share", "Trip.SynchronizedSave",
    "Weather.GetCurrentByLatLon", "Weather.GetForecastByLatLon",
    // The administrative record service.
    "Accounts.Get", "Accounts.GetById", "Accounts.GetByProductId", "Accounts.Find", "Accounts.Add", "Accounts.Create",
    "Accounts.Update", "Accounts.Remove", "AccountUsers.Get", "AccountUsers.GetByTeamId", "AccountUsers.GetById",
    "AccountUsers.Add", "AccountUsers.Transfer", "AccountUsers.Update", "AccountUsers.Remove",
    "AccountUsers.SetPassword", "Roles.Get", "Roles.Add", "Roles.Remove", "Privileges.Get", "Privileges.Add",
    "Privileges.Remove", "Teams.Get", "Teams.GetById", "Teams.Find", "Teams.Add", "Teams.Update", "Teams.Remove",
    "TeamMembers.Get", "TeamMembers.Add", "TeamMembers.Update", "TeamMembers.Remove", "Authz.GetFeatures",
    "LiveTracking.Get", "LiveTracking.Update", "TeamTrips.Get", "TeamTrips.GetTripListIDsAndRevisionNumber",
    "TeamTrips.Add", "TeamTrips.Remove", "PrivateTrips.Get", "Resellers.Get", "Resellers.GetById", "Resellers.Add",
    "Resellers.Update", "Resellers.Remove", "ResellerContacts.Get", "ResellerContacts.Add", "ResellerContacts.Update",
    "ResellerContacts.Remove", "S3.GetTemporaryCredentials"};

TEST_F(ServiceTest, EveryMethodIsServedWithAnEnvelope) {
  for (const char* method : kCatalogue) {
    const ServiceReply reply = client_.Call(method, {});
    ASSERT_TRUE(WellFormedAnswer(reply)) << method;
    EXPECT_EQ(reply.status, 200) << method;
    if (!reply.Ok()) {
      EXPECT_NE(reply.ErrorType(), "RequestException") << method << ": " << reply.body;
    }
  }
}

TEST_F(ServiceTest, ErrorTypesOfTheRequestItself) {
  struct Case {
    std::string path;
    const char* type;
  } cases[] = {
      {"WebServices/Api/Rest/RestHandler.ashx?method=Account.Nothing", "RequestException"},
      {"WebServices/Api/Rest/RestHandler.ashx", "RequestException"},
      {"WebServices/Api/Rest/RestHandler.ashx?method=Account.Login&username=a&password=bbbbbb", "ParameterException"},
      {"WebServices/Api/Rest/RestHandler.ashx?method=Account.Login&encryptedData=bm90LWVuY3J5cHRlZA%3d%3d",
       "ParameterException"},
      {"WebServices/Api/Rest/RestHandler.ashx?method=Account.Login&encryptedData=%%%", "ParameterException"},
      {"WebServices/Api/Rest/RestHandler.ashx?method=Weather.GetCurrentByLatLon&latitude=1&longitude=1",
       "MissingParameterException"},
      {"WebServices/Api/Rest/RestHandler.ashx?method=Weather.GetCurrentByLatLon&authToken=nope&latitude=1&longitude=1",
       "InvalidAuthTokenException"},
      {"WebServices/Api/Rest/RestHandler.ashx?method=Resellers.GetById&id=x1", "ParameterException"},
      {"WebServices/Api/Rest/RestHandler.ashx?method=Resellers.GetById&id=99999999", "RecordNotFoundException"},
      {"WebServices/Api/Rest/RestHandler.ashx?method=Resellers.GetById&id=99999999999", "ParameterException"},
  };
  for (const Case& c : cases) {
    const ServiceReply reply = client_.Request(c.path);
    EXPECT_TRUE(WellFormedAnswer(reply)) << c.path;
    EXPECT_EQ(reply.ErrorType(), c.type) << c.path << ": " << reply.body;
  }
}

TEST_F(ServiceTest, ServicePathWithOrWithoutLeadingSlashInAnyCase) {
  for (const char* path : {"WebServices/Api/Rest/RestHandler.ashx?method=Account.GetTimeStamp",
                           "/WebServices/Api/Rest/RestHandler.ashx?method=Account.GetTimeStamp",
                           "webservices/api/rest/resthandler.ashx?method=account.gettimestamp"}) {
    const ServiceReply reply = client_.Request(path);
    ASSERT_TRUE(WellFormedAnswer(reply)) << path;
    EXPECT_TRUE(reply.Ok()) << path;
    EXPECT_EQ(reply.Text("CurrentTimeStamp").size(), 20u) << reply.body;
  }
}

TEST_F(ServiceTest, OtherPathsAnswer404WithABody) {
  for (const char* path : {"", "WebServices/Api/Rest/Other.ashx?method=Account.GetTimeStamp", "favicon.ico"}) {
    const ServiceReply reply = client_.Request(path);
    EXPECT_EQ(reply.status, 404) << path;
    EXPECT_TRUE(WellFormedAnswer(reply)) << path;
    EXPECT_EQ(reply.ErrorType(), "RecordNotFoundException");
  }
}

TEST_F(ServiceTest, TokensExpireAfterTheirLifetime) {
  const NewUser user = Register();
  const Parameters list = {{"authToken", user.token}};
  EXPECT_TRUE(client_.Call("Trip.GetTripList", list).Ok());
  // Ten seconds short of the hour, then ten past: the clock counts whole
  // seconds, and a slow run (under Wine) can cross one between the calls.
  client_.AdvanceClock(3590);
  EXPECT_TRUE(client_.Call("Trip.GetTripList", list).Ok());
  client_.AdvanceClock(20);
  EXPECT_EQ(client_.Call("Trip.GetTripList", list).ErrorType(), "ExpiredAuthTokenException");
  // A new sign-in gives a token that works again.
  const std::string fresh = client_.Login(user.name, user.password);
  EXPECT_TRUE(client_.Call("Trip.GetTripList", {{"authToken", fresh}}).Ok());
}

TEST_F(ServiceTest, AnonymousTokensNeedAFreshTimeStamp) {
  const std::string stamp = client_.Call("Account.GetTimeStamp", {}).Text("CurrentTimeStamp");
  const Parameters device = {{"timestamp", stamp},  {"hardwareID", "HW-1"}, {"appName", "HalvardOutdoors"},
                             {"appVersion", "6.0"}, {"manufacturer", ""},   {"model", ""},
                             {"carrier", ""},       {"firmware", ""},       {"drmInfo", ""}};
  const ServiceReply granted = client_.Call("Account.GetAnonymousAuthToken", device, Sealing::kDeviceInfo);
  ASSERT_TRUE(granted.Ok()) << Describe(granted);
  const std::string token = granted.Text("AuthToken");
  EXPECT_TRUE(
      client_.Call("Weather.GetCurrentByLatLon", {{"authToken", token}, {"latitude", "45.0"}, {"longitude", "-110.0"}})
          .Ok());
  EXPECT_EQ(client_.Call("Trip.GetTripList", {{"authToken", token}}).ErrorType(), "NotAuthorizedException");
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

  ScriptedAnswer error;
  error.pragma = "status=OK";
  error.contentType = "text/xml; charset=utf-8";
  error.body = "<rsp status=\"err\"><err type=\"RequestTooLargeException\" msg=\"scripted\"/></rsp>";
  client_.Control().Answer(method, error);
  EXPECT_EQ(call().ErrorType(), "RequestTooLargeException");
  EXPECT_EQ(call().ErrorType(), "RequestTooLargeException");  // the last answer repeats
  client_.Control().Reset();
  EXPECT_TRUE(call().Ok());

  ScriptedAnswer refused;
  refused.pragma = "status=ERROR;errorcode=27";
  refused.body = "<rsp status=\"ok\"/>";
  ScriptedAnswer wrongType;
  wrongType.contentType = "application/json";
  wrongType.body = "{}";
  ScriptedAnswer malformed;
  malformed.body = "<rsp status=\"ok\"><CurrentTimeStamp>";
  ScriptedAnswer failed;
  failed.status = 500;
  failed.body = "<rsp status=\"ok\"/>";
  ScriptedAnswer missing;
  missing.status = 404;
  missing.body = "gone";
  for (const ScriptedAnswer& answer : {refused, wrongType, malformed, failed, missing})
    client_.Control().Answer(method, answer);
  const ServiceReply first = call();
  EXPECT_FALSE(first.received);  // status=ERROR: the client reads no body
  EXPECT_EQ(first.statusText, "ERROR");
  EXPECT_EQ(call().contentType, "application/json");
  EXPECT_FALSE(call().answer.has_value());
  EXPECT_EQ(call().status, 500);
  const ServiceReply last = call();
  EXPECT_EQ(last.status, 404);
  EXPECT_EQ(last.body, "gone");
  client_.Control().Reset();

  ScriptedAnswer slow;
  slow.delayMs = 300;
  slow.body = "<rsp status=\"ok\"/>";
  slow.pragma = "status=OK";
  client_.Control().Answer(method, slow);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(call().Ok());
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(290));
  client_.Control().Reset();

  ScriptedAnswer dropped;
  dropped.drop = true;
  // WinInet sends again on a dropped connection: every attempt is dropped.
  // Wine's WinInet may deliver an empty body instead of nothing.
  for (int attempt = 0; attempt < 5; ++attempt) client_.Control().Answer(method, dropped);
  const ServiceReply cut = call();
  EXPECT_TRUE(!cut.received || cut.body.empty());
  client_.Control().Reset();
  EXPECT_TRUE(call().Ok());

  // Methods are scripted one by one: the others are the service's.
  client_.Control().Answer(method, missing);
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
  EXPECT_EQ(
      client_.Call("Accounts.GetByProductId", {{"authToken", admin}, {"productId", create[2].second}}).ErrorType(),
      "RecordNotFoundException");

  const ServiceReply tooLarge =
      client_.Call("Trip.Save", {{"authToken", admin}}, Sealing::kPlain, std::string(16 * 1024 * 1024 + 1, 'x'));
  EXPECT_EQ(tooLarge.status, 413);
  EXPECT_TRUE(WellFormedAnswer(tooLarge));
  EXPECT_EQ(tooLarge.ErrorType(), "RequestTooLargeException");
  EXPECT_EQ(
      client_.Call("Trip.Save", {{"authToken", "x"}}, Sealing::kPlain, std::string(16 * 1024 * 1024, 'x')).ErrorType(),
      "InvalidAuthTokenException");
  EXPECT_TRUE(client_.Call("Account.GetTimeStamp", {}).Ok());
}

}  // namespace
}  // namespace velinst::service::test
