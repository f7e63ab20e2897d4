// The Account group over HTTP against the scripted test server.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "service_fixture.h"
#include "webclient/account_session.h"
#include "webclient/result_code.h"

namespace velinst::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

constexpr const char* kCall = "Test.Call";
constexpr const char* kLoginAnswer =
    "<AuthToken>tok</AuthToken><Weight>72.5</Weight><Units>kg</Units><UserID>42</UserID>";
constexpr const char* kDevice =
    "&hardwareID=hw&appVersion=1.0&appName=app&manufacturer=maker&model=model&carrier=carrier"
    "&firmware=fw&drmInfo=drm";

// A clock the test moves.
std::int64_t fakeNow = 0;
std::int64_t FakeClock() { return fakeNow; }

class AccountTest : public ServiceTest {
 protected:
  CRKTokenResult Login(const std::string& username, const std::string& password, double* weight = nullptr,
                       std::string* units = nullptr, std::int32_t* userId = nullptr) {
    return Account().Login(username, password, "hw", "1.0", "app", "maker", "model", "carrier", "fw", "drm", weight,
                           units, userId);
  }
};

TEST_F(AccountTest, LoginSendsEncryptedCredentialsAndKeepsTheToken) {
  AnswerOk("Account.Login", kLoginAnswer);
  double weight = 0;
  std::string units;
  std::int32_t userId = 0;
  const CRKTokenResult result = Login("user name", "p&ss", &weight, &units, &userId);
  EXPECT_EQ(std::make_tuple(result.code, result.token, weight, units, userId, CurrentAuthToken()),
            std::make_tuple(kRKSuccess, std::string("tok"), 72.5, std::string("kg"), 42, std::string("tok")));
  EXPECT_EQ(SavedCredentials().password, "p&ss");
  ASSERT_EQ(Requests().size(), 1u);
  EXPECT_THAT(RawQuery(Requests()[0]), StartsWith("method=Account.Login&encryptedData="));
  EXPECT_THAT(Sent(), ElementsAre(std::string("username=user name&password=p&ss") + kDevice));

  // A server error fills nothing and keeps the state.
  server_.Reset();
  AnswerError("Account.Login", "IncorrectPasswordException");
  userId = -1;
  EXPECT_EQ(Login("second", "bad", nullptr, nullptr, &userId).code, 26);
  EXPECT_EQ(userId, -1);
  EXPECT_EQ(CurrentAuthToken(), "tok");
  EXPECT_EQ(SavedCredentials().username, "user name");
  // Without a user id the outputs stay, but the token is returned.
  server_.Reset();
  AnswerOk("Account.Login", "<AuthToken>tok2</AuthToken><Weight>80</Weight>");
  weight = -1;
  EXPECT_EQ(Login("u", "p", &weight, nullptr, &userId).token, "tok2");
  EXPECT_EQ(std::make_pair(weight, userId), std::make_pair(-1.0, -1));
  EXPECT_EQ(CurrentAuthToken(), "tok2");
}

TEST_F(AccountTest, AnonymousTokenSendsTheTimeStampAsReceived) {
  AnswerOk("Account.GetTimeStamp", "<CurrentTimeStamp>2024-05-06 07:08:09 +1</CurrentTimeStamp>");
  AnswerOk("Account.GetAnonymousAuthToken", "<AuthToken>anon</AuthToken>");
  const CRKTokenResult result = Account().GetAnonymousAuthToken("hw", "app", "2.0", "maker", "model", "", "fw", "drm");
  EXPECT_EQ(result.token, "anon");
  EXPECT_THAT(Sent(), ElementsAre("",
                                  "timestamp=2024-05-06 07:08:09 +1&hardwareID=hw&appName=app&appVersion=2.0"
                                  "&manufacturer=maker&model=model&carrier=&firmware=fw&drmInfo=drm"));

  // It stops when the time stamp fails.
  server_.Reset();
  AnswerError("Account.GetTimeStamp", "RequestException");
  AnswerOk("Account.GetAnonymousAuthToken", "<AuthToken>anon2</AuthToken>");
  const CRKTokenResult failed = Account().GetAnonymousAuthToken("hw", "app", "1", "", "", "", "", "");
  EXPECT_EQ(std::make_pair(failed.code, failed.token), std::make_pair(38, std::string()));
  EXPECT_EQ(CurrentAuthToken(), "anon");
  EXPECT_THAT(Methods(), ElementsAre("Account.GetTimeStamp"));
}

TEST_F(AccountTest, ChangedPasswordIsTheOneSignedInWith) {
  AnswerOk("Account.Login", kLoginAnswer);
  ASSERT_EQ(Login("u", "old").code, kRKSuccess);
  server_.Reset();
  AnswerOk("Account.ChangePassword", "");
  EXPECT_EQ(Account().ChangePassword("tok", "old", "n&w"), kRKSuccess);
  EXPECT_THAT(Sent(), ElementsAre("authToken=tok&oldPassword=old&newPassword=n&w"));
  server_.Reset();
  AnswerError("Account.ChangePassword", "PasswordFormatException");
  EXPECT_EQ(Account().ChangePassword("tok", "n&w", "x"), 35);
  EXPECT_EQ(SavedCredentials().password, "n&w");

  // An automatic sign-in uses the saved, changed password.
  server_.Reset();
  AnswerOk("Account.Login", "<AuthToken>again</AuthToken><UserID>1</UserID>");
  AnswerError(kCall, "ExpiredAuthTokenException");
  AnswerOk(kCall, "");
  EXPECT_EQ(Client().Send(kCall, {{"authToken", "tok"}}, nullptr, kRKPlain), kRKSuccess);
  EXPECT_THAT(Sent(),
              ElementsAre("authToken=tok", std::string("username=u&password=n&w") + kDevice, "authToken=again"));
}

TEST_F(AccountTest, NoAutomaticSignInWithoutSavedPassword) {
  SaveCredentials({"user", "", "", "", "", "", "", "", "", ""});
  AnswerError(kCall, "ExpiredAuthTokenException");
  EXPECT_EQ(Client().Send(kCall, {{"authToken", "t"}}, nullptr, kRKPlain), kRKExpiredAuthToken);
  EXPECT_THAT(Methods(), ElementsAre(kCall));
}

TEST_F(AccountTest, AutomaticSignInOnlyWithinAnHourOfThePreviousOne) {
  SetSignInClock(FakeClock);
  fakeNow = 1'000'000;
  AnswerOk("Account.Login", kLoginAnswer);
  ASSERT_EQ(Login("u", "p").code, kRKSuccess);
  auto signInsFor = [&](std::int64_t at) {
    fakeNow = at;
    server_.Reset();
    AnswerOk("Account.Login", kLoginAnswer);
    AnswerError(kCall, "ExpiredAuthTokenException");
    Client().Send(kCall, {{"authToken", "t"}}, nullptr, kRKPlain);
    const std::vector<std::string> methods = Methods();
    return std::count(methods.begin(), methods.end(), std::string("Account.Login"));
  };
  // The first expired token always leads to a sign-in; within the hour
  // after the previous automatic one, again; ninety minutes later, no more.
  EXPECT_EQ(signInsFor(1'000'000 + 86'400), 1);
  EXPECT_EQ(signInsFor(1'000'000 + 86'400 + 3'600), 1);
  EXPECT_EQ(signInsFor(1'000'000 + 86'400 + 3'600 + 5'400), 0);
  EXPECT_EQ(signInsFor(1'000'000 + 86'400 + 3'600 + 5'401), 0);
}

TEST_F(AccountTest, TheWindowOpensWithTheFirstHandledError) {
  SetSignInClock(FakeClock);
  fakeNow = 50;
  AnswerOk("Account.Login", kLoginAnswer);
  ASSERT_EQ(Login("u", "p").code, kRKSuccess);
  AnswerError(kCall, "NotAuthorizedException");
  EXPECT_EQ(Client().Send(kCall, {{"authToken", "t"}}, nullptr, kRKPlain), 32);
  EXPECT_EQ(LastAutomaticSignIn(), std::optional<std::int64_t>(50));
  fakeNow = 50 + 7'200;
  server_.Reset();
  AnswerError(kCall, "ExpiredAuthTokenException");
  EXPECT_EQ(Client().Send(kCall, {{"authToken", "t"}}, nullptr, kRKPlain), kRKExpiredAuthToken);
  EXPECT_THAT(Methods(), ElementsAre(kCall));
}

}  // namespace
}  // namespace velinst::test
