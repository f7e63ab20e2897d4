// The Account group over HTTP against the scripted test server.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "service_fixture.h"
#include "webclient/account_session.h"
#include "webclient/result_code.h"

namespace velinst::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;

constexpr const char* kCall = "Test.Call";
constexpr const char* kLoginAnswer =
    "<AuthToken>tok</AuthToken><Weight>72.5</Weight><Units>kg</Units>"
    "<UserID>42</UserID>";

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

TEST_F(AccountTest, AvailabilityChecks) {
  struct Case {
    const char* method;
    const char* parameter;
    CRKExistsResult (CRKAccountClass::*check)(const std::string&);
  } cases[] = {{"Account.UsernameExists", "username", &CRKAccountClass::UsernameExists},
               {"Account.EmailAddressExists", "emailAddress", &CRKAccountClass::EmailAddressExists},
               {"Account.DisplayNameExists", "displayName", &CRKAccountClass::DisplayNameExists}};
  for (const Case& c : cases) {
    AnswerOk(c.method, "<Exists>true</Exists>");
    const CRKExistsResult taken = (Account().*c.check)("a&b");
    EXPECT_EQ(taken.code, kRKSuccess);
    EXPECT_TRUE(taken.exists) << c.method;
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_THAT(Parameters(requests[0]), ElementsAre(Pair(c.parameter, "a&b")));
    server_.Reset();
    AnswerError(c.method, "RequestException");
    const CRKExistsResult failed = (Account().*c.check)("x");
    EXPECT_EQ(failed.code, 38);
    EXPECT_FALSE(failed.exists);
    server_.Reset();
  }
  AnswerOk("Account.UsernameExists", "<Exists>yes</Exists>");
  EXPECT_EQ(Raised([&] { Account().UsernameExists("u"); }), "Illegal Exists value");
  EXPECT_THAT(TemporaryFiles(), IsEmpty());
}

TEST_F(AccountTest, LoginSendsEncryptedCredentialsAndKeepsTheToken) {
  AnswerOk("Account.Login", kLoginAnswer);
  double weight = 0;
  std::string units;
  std::int32_t userId = 0;
  const CRKTokenResult result = Login("user name", "p&ss", &weight, &units, &userId);
  EXPECT_EQ(result.code, kRKSuccess);
  EXPECT_EQ(result.token, "tok");
  EXPECT_EQ(weight, 72.5);
  EXPECT_EQ(units, "kg");
  EXPECT_EQ(userId, 42);
  EXPECT_EQ(CurrentAuthToken(), "tok");
  const CRKCredentials saved = SavedCredentials();
  EXPECT_EQ(saved.username, "user name");
  EXPECT_EQ(saved.password, "p&ss");
  EXPECT_EQ(saved.drmInfo, "drm");

  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_THAT(RawQuery(requests[0]), ::testing::StartsWith("method=Account.Login&encryptedData="));
  EXPECT_THAT(
      Parameters(requests[0]),
      ElementsAre(Pair("username", "user name"), Pair("password", "p&ss"), Pair("hardwareID", "hw"),
                  Pair("appVersion", "1.0"), Pair("appName", "app"), Pair("manufacturer", "maker"),
                  Pair("model", "model"), Pair("carrier", "carrier"), Pair("firmware", "fw"), Pair("drmInfo", "drm")));
}

TEST_F(AccountTest, LoginWithoutUserIdLeavesOutputsButReturnsTheToken) {
  AnswerOk("Account.Login", "<AuthToken>tok</AuthToken><Weight>80</Weight>");
  double weight = -1;
  std::int32_t userId = -1;
  const CRKTokenResult result = Login("u", "p", &weight, nullptr, &userId);
  EXPECT_EQ(result.code, kRKSuccess);
  EXPECT_EQ(result.token, "tok");
  EXPECT_EQ(weight, -1);
  EXPECT_EQ(userId, -1);
  EXPECT_EQ(CurrentAuthToken(), "tok");
}

TEST_F(AccountTest, FailedLoginWritesOutputsOfAFilledAnswerButKeepsTheState) {
  AnswerOk("Account.Login", kLoginAnswer);
  ASSERT_EQ(Login("first", "pw").code, kRKSuccess);
  server_.Reset();
  // A server error fills nothing.
  AnswerError("Account.Login", "IncorrectPasswordException");
  std::int32_t userId = -1;
  const CRKTokenResult result = Login("second", "bad", nullptr, nullptr, &userId);
  EXPECT_EQ(result.code, 26);
  EXPECT_EQ(result.token, "");
  EXPECT_EQ(userId, -1);
  EXPECT_EQ(CurrentAuthToken(), "tok");
  EXPECT_EQ(SavedCredentials().username, "first");
}

TEST_F(AccountTest, AnonymousTokenSendsTheTimeStampAsReceived) {
  AnswerOk("Account.GetTimeStamp", "<CurrentTimeStamp>2024-05-06 07:08:09 +1</CurrentTimeStamp>");
  AnswerOk("Account.GetAnonymousAuthToken", "<AuthToken>anon</AuthToken>");
  const CRKTokenResult result = Account().GetAnonymousAuthToken("hw", "app", "2.0", "maker", "model", "", "fw", "drm");
  EXPECT_EQ(result.code, kRKSuccess);
  EXPECT_EQ(result.token, "anon");
  EXPECT_EQ(CurrentAuthToken(), "anon");
  EXPECT_EQ(SavedCredentials().username, "");

  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(RawQuery(requests[0]), "method=Account.GetTimeStamp");
  EXPECT_THAT(RawQuery(requests[1]),
              ::testing::StartsWith("method=Account.GetAnonymousAuthToken&encryptedDeviceInfo="));
  EXPECT_THAT(Parameters(requests[1]),
              ElementsAre(Pair("timestamp", "2024-05-06 07:08:09 +1"), Pair("hardwareID", "hw"), Pair("appName", "app"),
                          Pair("appVersion", "2.0"), Pair("manufacturer", "maker"), Pair("model", "model"),
                          Pair("carrier", ""), Pair("firmware", "fw"), Pair("drmInfo", "drm")));
}

TEST_F(AccountTest, AnonymousTokenStopsWhenTheTimeStampFails) {
  SetCurrentAuthToken("kept");
  AnswerError("Account.GetTimeStamp", "RequestException");
  AnswerOk("Account.GetAnonymousAuthToken", "<AuthToken>anon</AuthToken>");
  const CRKTokenResult result = Account().GetAnonymousAuthToken("hw", "app", "1", "", "", "", "", "");
  EXPECT_EQ(result.code, 38);
  EXPECT_EQ(result.token, "");
  EXPECT_EQ(CurrentAuthToken(), "kept");
  EXPECT_THAT(Methods(), ElementsAre("Account.GetTimeStamp"));
}

TEST_F(AccountTest, RegisterParameters) {
  AnswerOk("Account.Register", kLoginAnswer);
  std::int32_t userId = 0;
  CRKTokenResult result = Account().Register("u", "p", std::nullopt, "hw", "1.0", "app", "e@x", "m", "mo", "c", "f",
                                             "d", 72.5, "kg", &userId);
  EXPECT_EQ(result.code, kRKSuccess);
  EXPECT_EQ(result.token, "tok");
  EXPECT_EQ(userId, 42);
  EXPECT_EQ(CurrentAuthToken(), "tok");
  EXPECT_EQ(SavedCredentials().appName, "app");

  // newsLetterOptIn goes third when given; a null user id output is taken.
  result = Account().Register("u", "p", false, "hw", "1.0", "app", "e@x", "m", "mo", "c", "f", "d", -3, "", nullptr);
  EXPECT_EQ(result.code, kRKSuccess);

  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_THAT(Parameters(requests[0]),
              ElementsAre(Pair("username", "u"), Pair("password", "p"), Pair("hardwareID", "hw"),
                          Pair("appVersion", "1.0"), Pair("appName", "app"), Pair("emailAddress", "e@x"),
                          Pair("manufacturer", "m"), Pair("model", "mo"), Pair("carrier", "c"), Pair("firmware", "f"),
                          Pair("drmInfo", "d"), Pair("weight", "72.500000"), Pair("units", "kg")));
  const QueryPairs second = Parameters(requests[1]);
  ASSERT_GE(second.size(), 3u);
  EXPECT_EQ(second[2], std::make_pair(std::string("newsLetterOptIn"), std::string("false")));
  EXPECT_THAT(second, Contains(Pair("weight", "-3.000000")));
  EXPECT_THAT(second, Contains(Pair("units", "")));
}

TEST_F(AccountTest, PasswordAndProfileOperations) {
  AnswerOk("Account.Login", kLoginAnswer);
  ASSERT_EQ(Login("u", "old").code, kRKSuccess);
  AnswerOk("Account.ChangePassword", "");
  EXPECT_EQ(Account().ChangePassword("tok", "old", "new"), kRKSuccess);
  EXPECT_EQ(SavedCredentials().password, "new");
  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_THAT(RawQuery(requests[1]), ::testing::StartsWith("method=Account.ChangePassword&encryptedData="));
  EXPECT_THAT(Parameters(requests[1]),
              ElementsAre(Pair("authToken", "tok"), Pair("oldPassword", "old"), Pair("newPassword", "new")));
  server_.Reset();
  AnswerError("Account.ChangePassword", "PasswordFormatException");
  EXPECT_EQ(Account().ChangePassword("tok", "new", "x"), 35);
  EXPECT_EQ(SavedCredentials().password, "new");
  server_.Reset();

  AnswerOk("Account.ResetPassword", "");
  EXPECT_EQ(Account().ResetPassword("e@x", true), kRKSuccess);
  AnswerOk("Account.Update", "");
  EXPECT_EQ(Account().Update("tok", "Me", "e@x", std::nullopt, std::nullopt), kRKSuccess);
  EXPECT_EQ(Account().Update("tok", "Me", "e@x", 80.25, std::string("lb")), kRKSuccess);

  const auto later = Requests();
  ASSERT_EQ(later.size(), 3u);
  EXPECT_EQ(RawQuery(later[0]), "method=Account.ResetPassword&emailAddress=e@x&forceChangeOnNextLogin=true");
  EXPECT_EQ(RawQuery(later[1]), "method=Account.Update&authToken=tok&displayName=Me&emailAddress=e@x");
  EXPECT_EQ(RawQuery(later[2]),
            "method=Account.Update&authToken=tok&displayName=Me&emailAddress=e@x&weight=80.250000&units=lb");
}

TEST_F(AccountTest, AutomaticSignInUsesTheSavedCredentials) {
  AnswerOk("Account.Login", kLoginAnswer);
  ASSERT_EQ(Login("u", "old").code, kRKSuccess);
  AnswerOk("Account.ChangePassword", "");
  ASSERT_EQ(Account().ChangePassword("tok", "old", "new"), kRKSuccess);
  server_.Reset();
  AnswerOk("Account.Login", "<AuthToken>again</AuthToken><UserID>1</UserID>");
  AnswerError(kCall, "ExpiredAuthTokenException");
  AnswerOk(kCall, "");
  EXPECT_EQ(Client().Send(kCall, {{"authToken", "tok"}}, nullptr, kRKPlain), kRKSuccess);
  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_THAT(
      Parameters(requests[1]),
      ElementsAre(Pair("username", "u"), Pair("password", "new"), Pair("hardwareID", "hw"), Pair("appVersion", "1.0"),
                  Pair("appName", "app"), Pair("manufacturer", "maker"), Pair("model", "model"),
                  Pair("carrier", "carrier"), Pair("firmware", "fw"), Pair("drmInfo", "drm")));
  EXPECT_EQ(CurrentAuthToken(), "again");
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
  AnswerError(kCall, "ExpiredAuthTokenException");
  auto signInsFor = [&](std::int64_t at) {
    fakeNow = at;
    server_.Reset();
    AnswerOk("Account.Login", kLoginAnswer);
    AnswerError(kCall, "ExpiredAuthTokenException");
    Client().Send(kCall, {{"authToken", "t"}}, nullptr, kRKPlain);
    const std::vector<std::string> methods = Methods();
    return std::count(methods.begin(), methods.end(), std::string("Account.Login"));
  };
  // The first expired token always leads to a sign-in.
  EXPECT_EQ(signInsFor(1'000'000 + 86'400), 1);
  // Within the hour after the previous automatic sign-in, again.
  EXPECT_EQ(signInsFor(1'000'000 + 86'400 + 3'600), 1);
  // Ninety minutes later, no longer; nor at any later time.
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
