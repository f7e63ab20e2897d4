// The administrative method groups over HTTP against the scripted test
// server: the query keys and documents each method sends, and what it
// makes of the answer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "service_fixture.h"
#include "webclient/rkad.h"

// Records are written with their first fields only; the others keep their
// defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace velinst::test {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

std::int32_t Code(std::int32_t code) { return code; }
template <typename Result>
std::int32_t Code(const Result& result) {
  return result.code;
}

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

// A call of the group method `expression` on the client `c`.
#define CALL(expression) [&](CRKAD& c) { return Code(c.expression); }

TEST_F(AdGroupsTest, EveryMethodSendsItsKeysAndDocument) {
  const velinst::Account account{5, "A & B"};
  const Team team{4, "Crew"};
  const TeamMember member{7, "Leader"};
  const ResellerContact contact{3, "Bo"};
  const LiveTrackingPosition position{1.5, 2.5};
  const SetPasswordRequest password{"p&w"};
  struct Case {
    const char* method;
    std::function<std::int32_t(CRKAD&)> call;
    const char* parameters;  // decoded, after authToken=t
    std::string body;        // empty: a GET
  } cases[] = {
      {"Accounts.Get", CALL(Accounts().Get("t")), "", ""},
      {"Accounts.GetByProductId", CALL(Accounts().GetByProductId("t", "P-1")), "&productId=P-1", ""},
      {"Accounts.Create", CALL(Accounts().Create("t", 1, "P", "SKU", account)), "&users=1&productId=P&sku=SKU",
       account.ToXml()},
      {"Accounts.Remove", CALL(Accounts().Remove("t", -5)), "&id=-5", ""},
      {"AccountUsers.Transfer", CALL(AccountUsers().Transfer("t", 7, 5)), "&userId=7&accountId=5", ""},
      {"AccountUsers.SetPassword", CALL(AccountUsers().SetPassword("t", 7, password)), "&userId=7", password.ToXml()},
      {"Roles.Add", CALL(Roles().Add("t", 7, "AccountAdmin")), "&userId=7&role=AccountAdmin", ""},
      {"Privileges.Add", CALL(Privileges().Add("t", 7, "Edit")), "&userId=7&privilege=Edit", "\n"},
      {"Teams.Add", CALL(Teams().Add("t", 5, team)), "&accountId=5", team.ToXml()},
      {"TeamMembers.Update", CALL(TeamMembers().Update("t", 7, member)), "&userId=7", member.ToXml()},
      {"TeamMembers.Remove", CALL(TeamMembers().Remove("t", 4, 7)), "&teamId=4&userId=7", ""},
      {"Authz.GetFeatures", CALL(Authorization().GetFeatures("t", 5, "maps")), "&accountId=5&component=maps", ""},
      {"LiveTracking.Get", CALL(LiveTracking().Get("t", 4, std::nullopt)), "&teamId=4", ""},
      {"LiveTracking.Get", CALL(LiveTracking().Get("t", std::nullopt, std::vector<std::int32_t>{3, 7, 12})),
       "&userId=3,7,12", ""},
      {"LiveTracking.Get", CALL(LiveTracking().Get("t", 4, std::vector<std::int32_t>{})), "&teamId=4&userId=", ""},
      {"LiveTracking.Update", CALL(LiveTracking().Update("t", position)), "", position.ToXml()},
      {"TeamTrips.Add", CALL(TeamTrips().Add("t", 4, 8)), "&teamId=4&tripId=8", "\n"},
      {"Resellers.Get", CALL(Resellers().Get()), nullptr, ""},
      {"Resellers.GetById", CALL(Resellers().GetById(9)), "id=9", ""},
      {"ResellerContacts.Get", CALL(ResellerContacts().Get(9)), "resellerId=9", ""},
      {"ResellerContacts.Add", CALL(ResellerContacts().Add("t", 9, contact)), "&resellerId=9", contact.ToXml()},
      {"S3.GetTemporaryCredentials", CALL(S3().GetTemporaryCredentials("t")), "", ""},
  };
  for (const Case& c : cases) {
    server_.Reset();
    AnswerOk(c.method, "");
    EXPECT_EQ(c.call(Ad()), 0) << c.method;
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u) << c.method;
    EXPECT_THAT(requests[0].target, HasSubstr(std::string("?method=") + c.method + (c.parameters ? "&" : "")));
    const std::string parameters = c.parameters == nullptr ? "" : c.parameters;
    const bool afterToken = c.parameters != nullptr && (parameters.empty() || parameters[0] == '&');
    EXPECT_EQ(Sent(), std::vector<std::string>{(afterToken ? "authToken=t" : "") + parameters}) << c.method;
    EXPECT_EQ(requests[0].verb, c.body.empty() ? "GET" : "POST") << c.method;
    EXPECT_EQ(requests[0].body, c.body) << c.method;
  }
  EXPECT_THAT(TemporaryFiles(), IsEmpty());
}

#undef CALL

// Live tracking without a team or users sends nothing.
TEST_F(AdGroupsTest, AnswersBecomeRecordsAndErrorsEmptyResults) {
  const CRKADResult<std::string> nobody = Ad().LiveTracking().Get("t", std::nullopt, std::nullopt);
  EXPECT_EQ(std::make_pair(nobody.code, nobody.value), std::make_pair(33, std::string()));
  EXPECT_THAT(Requests(), IsEmpty());
  AnswerError("AccountUsers.Get", "RecordNotFoundException");
  const auto failed = Ad().AccountUsers().Get("t", 5);
  EXPECT_EQ(std::make_pair(failed.code, failed.value.size()), std::make_pair(37, std::size_t{0}));
}

}  // namespace
}  // namespace velinst::test
