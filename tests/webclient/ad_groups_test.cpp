// The administrative method groups over HTTP against the scripted test
// server: the query keys and documents each method sends, and what it
// makes of the answer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "service_fixture.h"
#include "webclient/rkad.h"

namespace velinst::test {
namespace {

using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Pair;

class AdGroupsTest : public ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    // One client at a time: a client closes the shared session when it goes.
    client_.reset();
    client_ = std::make_unique<CRKAD>(server_.HostText(), "", false);
  }

  CRKAD& Ad() { return static_cast<CRKAD&>(*client_); }
};

TEST_F(AdGroupsTest, EveryMethodSendsItsKeysAndDocument) {
  AccountUser user;
  user.Id = 7;
  const std::string userDocument = user.ToXml();
  velinst::Account account;
  account.Id = 5;
  const std::string accountDocument = account.ToXml();
  Team team;
  const TeamMember member;
  const Reseller reseller;
  const ResellerContact contact;
  const LiveTrackingPosition position;
  const SetPasswordRequest password{"pw"};

  struct Case {
    const char* method;
    std::function<std::int32_t(CRKAD&)> call;
    QueryPairs parameters;
    std::string body;  // empty: a GET
  } cases[] = {
      {"Accounts.Get", [](CRKAD& c) { return c.Accounts().Get("t").code; }, {{"authToken", "t"}}, ""},
      {"Accounts.GetById",
       [](CRKAD& c) { return c.Accounts().GetById("t", 5).code; },
       {{"authToken", "t"}, {"id", "5"}},
       ""},
      {"Accounts.GetByProductId",
       [](CRKAD& c) { return c.Accounts().GetByProductId("t", "P-1").code; },
       {{"authToken", "t"}, {"productId", "P-1"}},
       ""},
      {"Accounts.Find", [](CRKAD& c) { return c.Accounts().Find("t").code; }, {{"authToken", "t"}}, ""},
      {"Accounts.Add",
       [&](CRKAD& c) { return c.Accounts().Add("t", account).code; },
       {{"authToken", "t"}},
       accountDocument},
      {"Accounts.Create",
       [&](CRKAD& c) { return c.Accounts().Create("t", 1, "P", "SKU", account).code; },
       {{"authToken", "t"}, {"users", "1"}, {"productId", "P"}, {"sku", "SKU"}},
       accountDocument},
      {"Accounts.Update",
       [&](CRKAD& c) { return c.Accounts().Update("t", 5, account).code; },
       {{"authToken", "t"}, {"id", "5"}},
       accountDocument},
      {"Accounts.Remove",
       [](CRKAD& c) { return c.Accounts().Remove("t", -5).code; },
       {{"authToken", "t"}, {"id", "-5"}},
       ""},
      {"AccountUsers.Get",
       [](CRKAD& c) { return c.AccountUsers().Get("t", 5).code; },
       {{"authToken", "t"}, {"accountId", "5"}},
       ""},
      {"AccountUsers.GetByTeamId",
       [](CRKAD& c) { return c.AccountUsers().GetByTeamId("t", 4).code; },
       {{"authToken", "t"}, {"teamId", "4"}},
       ""},
      {"AccountUsers.GetById",
       [](CRKAD& c) { return c.AccountUsers().GetById("t", 7).code; },
       {{"authToken", "t"}, {"id", "7"}},
       ""},
      {"AccountUsers.Add",
       [&](CRKAD& c) { return c.AccountUsers().Add("t", 5, user).code; },
       {{"authToken", "t"}, {"accountId", "5"}},
       userDocument},
      {"AccountUsers.Transfer",
       [](CRKAD& c) { return c.AccountUsers().Transfer("t", 7, 5); },
       {{"authToken", "t"}, {"userId", "7"}, {"accountId", "5"}},
       ""},
      {"AccountUsers.Update",
       [&](CRKAD& c) { return c.AccountUsers().Update("t", user.Id, user).code; },
       {{"authToken", "t"}, {"id", "7"}},
       userDocument},
      {"AccountUsers.Remove",
       [](CRKAD& c) { return c.AccountUsers().Remove("t", 7); },
       {{"authToken", "t"}, {"id", "7"}},
       ""},
      {"AccountUsers.SetPassword",
       [&](CRKAD& c) { return c.AccountUsers().SetPassword("t", 7, password); },
       {{"authToken", "t"}, {"userId", "7"}},
       password.ToXml()},
      {"Roles.Get", [](CRKAD& c) { return c.Roles().Get("t", 7).code; }, {{"authToken", "t"}, {"userId", "7"}}, ""},
      {"Roles.Add",
       [](CRKAD& c) { return c.Roles().Add("t", 7, "AccountAdmin"); },
       {{"authToken", "t"}, {"userId", "7"}, {"role", "AccountAdmin"}},
       ""},
      {"Roles.Remove",
       [](CRKAD& c) { return c.Roles().Remove("t", 7, "R"); },
       {{"authToken", "t"}, {"userId", "7"}, {"role", "R"}},
       ""},
      {"Privileges.Get",
       [](CRKAD& c) { return c.Privileges().Get("t", 7).code; },
       {{"authToken", "t"}, {"userId", "7"}},
       ""},
      {"Privileges.Add",
       [](CRKAD& c) { return c.Privileges().Add("t", 7, "Edit"); },
       {{"authToken", "t"}, {"userId", "7"}, {"privilege", "Edit"}},
       "\n"},
      {"Privileges.Remove",
       [](CRKAD& c) { return c.Privileges().Remove("t", 7, "Edit"); },
       {{"authToken", "t"}, {"userId", "7"}, {"privilege", "Edit"}},
       ""},
      {"Teams.Get", [](CRKAD& c) { return c.Teams().Get("t", 5).code; }, {{"authToken", "t"}, {"accountId", "5"}}, ""},
      {"Teams.GetById", [](CRKAD& c) { return c.Teams().GetById("t", 4).code; }, {{"authToken", "t"}, {"id", "4"}}, ""},
      {"Teams.Find", [](CRKAD& c) { return c.Teams().Find("t").code; }, {{"authToken", "t"}}, ""},
      {"Teams.Add",
       [&](CRKAD& c) { return c.Teams().Add("t", 5, team).code; },
       {{"authToken", "t"}, {"accountId", "5"}},
       team.ToXml()},
      {"Teams.Update",
       [&](CRKAD& c) { return c.Teams().Update("t", 4, team).code; },
       {{"authToken", "t"}, {"id", "4"}},
       team.ToXml()},
      {"Teams.Remove", [](CRKAD& c) { return c.Teams().Remove("t", 4); }, {{"authToken", "t"}, {"id", "4"}}, ""},
      {"TeamMembers.Get",
       [](CRKAD& c) { return c.TeamMembers().Get("t", 4).code; },
       {{"authToken", "t"}, {"teamId", "4"}},
       ""},
      {"TeamMembers.Add",
       [&](CRKAD& c) { return c.TeamMembers().Add("t", 4, member).code; },
       {{"authToken", "t"}, {"teamId", "4"}},
       member.ToXml()},
      {"TeamMembers.Update",
       [&](CRKAD& c) { return c.TeamMembers().Update("t", 7, member).code; },
       {{"authToken", "t"}, {"userId", "7"}},
       member.ToXml()},
      {"TeamMembers.Remove",
       [](CRKAD& c) { return c.TeamMembers().Remove("t", 4, 7); },
       {{"authToken", "t"}, {"teamId", "4"}, {"userId", "7"}},
       ""},
      {"Authz.GetFeatures",
       [](CRKAD& c) { return c.Authorization().GetFeatures("t", 5, "maps").code; },
       {{"authToken", "t"}, {"accountId", "5"}, {"component", "maps"}},
       ""},
      {"LiveTracking.Get",
       [](CRKAD& c) { return c.LiveTracking().Get("t", 4, std::nullopt).code; },
       {{"authToken", "t"}, {"teamId", "4"}},
       ""},
      {"LiveTracking.Get",
       [](CRKAD& c) {
         return c.LiveTracking().Get("t", std::nullopt, std::vector<std::int32_t>{3, 7, 12}).code;
       },
       {{"authToken", "t"}, {"userId", "3,7,12"}},
       ""},
      {"LiveTracking.Get",
       [](CRKAD& c) { return c.LiveTracking().Get("t", 4, std::vector<std::int32_t>{}).code; },
       {{"authToken", "t"}, {"teamId", "4"}, {"userId", ""}},
       ""},
      {"LiveTracking.Update",
       [&](CRKAD& c) { return c.LiveTracking().Update("t", position); },
       {{"authToken", "t"}},
       position.ToXml()},
      {"TeamTrips.Get",
       [](CRKAD& c) { return c.TeamTrips().Get("t", 4).code; },
       {{"authToken", "t"}, {"teamId", "4"}},
       ""},
      {"TeamTrips.GetTripListIDsAndRevisionNumber",
       [](CRKAD& c) { return c.TeamTrips().GetTripListIDsAndRevisionNumber("t", 4).code; },
       {{"authToken", "t"}, {"teamId", "4"}},
       ""},
      {"TeamTrips.Add",
       [](CRKAD& c) { return c.TeamTrips().Add("t", 4, 8); },
       {{"authToken", "t"}, {"teamId", "4"}, {"tripId", "8"}},
       "\n"},
      {"TeamTrips.Remove",
       [](CRKAD& c) { return c.TeamTrips().Remove("t", 4, 8); },
       {{"authToken", "t"}, {"teamId", "4"}, {"tripId", "8"}},
       ""},
      {"PrivateTrips.Get",
       [](CRKAD& c) { return c.PrivateTrips().Get("t", 7).code; },
       {{"authToken", "t"}, {"userId", "7"}},
       ""},
      {"Resellers.Get", [](CRKAD& c) { return c.Resellers().Get().code; }, {}, ""},
      {"Resellers.GetById", [](CRKAD& c) { return c.Resellers().GetById(9).code; }, {{"id", "9"}}, ""},
      {"Resellers.Add",
       [&](CRKAD& c) { return c.Resellers().Add("t", reseller).code; },
       {{"authToken", "t"}},
       reseller.ToXml()},
      {"Resellers.Update",
       [&](CRKAD& c) { return c.Resellers().Update("t", 9, reseller).code; },
       {{"authToken", "t"}, {"id", "9"}},
       reseller.ToXml()},
      {"Resellers.Remove",
       [](CRKAD& c) { return c.Resellers().Remove("t", 9); },
       {{"authToken", "t"}, {"id", "9"}},
       ""},
      {"ResellerContacts.Get", [](CRKAD& c) { return c.ResellerContacts().Get(9).code; }, {{"resellerId", "9"}}, ""},
      {"ResellerContacts.Add",
       [&](CRKAD& c) { return c.ResellerContacts().Add("t", 9, contact).code; },
       {{"authToken", "t"}, {"resellerId", "9"}},
       contact.ToXml()},
      {"ResellerContacts.Update",
       [&](CRKAD& c) { return c.ResellerContacts().Update("t", 3, contact).code; },
       {{"authToken", "t"}, {"id", "3"}},
       contact.ToXml()},
      {"ResellerContacts.Remove",
       [](CRKAD& c) { return c.ResellerContacts().Remove("t", 3); },
       {{"authToken", "t"}, {"id", "3"}},
       ""},
      {"S3.GetTemporaryCredentials",
       [](CRKAD& c) { return c.S3().GetTemporaryCredentials("t").code; },
       {{"authToken", "t"}},
       ""},
  };
  for (const Case& c : cases) {
    server_.Reset();
    AnswerOk(c.method, "");
    EXPECT_EQ(c.call(Ad()), 0) << c.method;
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u) << c.method;
    EXPECT_THAT(requests[0].target, HasSubstr(std::string("?method=") + c.method + (c.parameters.empty() ? "" : "&")))
        << c.method;
    EXPECT_EQ(Parameters(requests[0]), c.parameters) << c.method;
    EXPECT_EQ(requests[0].verb, c.body.empty() ? "GET" : "POST") << c.method;
    EXPECT_EQ(requests[0].body, c.body) << c.method;
  }
  EXPECT_THAT(TemporaryFiles(), IsEmpty());
}

TEST_F(AdGroupsTest, LiveTrackingWithoutTeamOrUsersSendsNothing) {
  const CRKADResult<std::string> result = Ad().LiveTracking().Get("t", std::nullopt, std::nullopt);
  EXPECT_EQ(result.code, 33);
  EXPECT_THAT(result.value, IsEmpty());
  EXPECT_THAT(Requests(), IsEmpty());
}

TEST_F(AdGroupsTest, AnswersBecomeRecordsAndErrorsEmptyResults) {
  AnswerOk("AccountUsers.Get",
           "<Users><AccountUser><Id>7</Id><UserName>ann</UserName></AccountUser>"
           "<AccountUser Id=\"8\"><UserName>bo</UserName></AccountUser></Users>");
  const auto users = Ad().AccountUsers().Get("t", 5);
  EXPECT_EQ(users.code, 0);
  EXPECT_THAT(users.value, ElementsAre(Field(&AccountUser::Id, 7), Field(&AccountUser::Id, 8)));

  AnswerOk("Accounts.Remove", "<Account><Id>5</Id><Name>gone</Name></Account>");
  const auto removed = Ad().Accounts().Remove("t", 5);
  EXPECT_EQ(removed.code, 0);
  EXPECT_EQ(removed.value.Name, "gone");

  server_.Reset();
  AnswerError("AccountUsers.Get", "RecordNotFoundException");
  const auto failed = Ad().AccountUsers().Get("t", 5);
  EXPECT_EQ(failed.code, 37);
  EXPECT_THAT(failed.value, IsEmpty());

  AnswerError("S3.GetTemporaryCredentials", "NotAuthorizedException");
  const auto denied = Ad().S3().GetTemporaryCredentials("t");
  EXPECT_EQ(denied.code, 32);
  EXPECT_EQ(denied.value, Credentials());

  Answer("LiveTracking.Get", http::test::OkAnswer("<gpx><trk/></gpx>"));
  const auto tracks = Ad().LiveTracking().Get("t", 4, std::nullopt);
  EXPECT_EQ(tracks.code, 0);
  EXPECT_THAT(tracks.value, HasSubstr("<gpx>"));
}

TEST_F(AdGroupsTest, RaisedFailuresPassThroughAndNoDocumentLingers) {
  Answer("Accounts.Update", http::test::OkAnswer("<other/>"));
  velinst::Account account;
  EXPECT_EQ(Raised([&] { Ad().Accounts().Update("t", 5, account); }), "Bad response");
  // The next call of the thread is a GET again.
  server_.Reset();
  AnswerOk("Accounts.Get", "");
  Ad().Accounts().Get("t");
  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].verb, "GET");
}

}  // namespace
}  // namespace velinst::test
