// The Account group end to end against the account-service stand-in that
// the ctest fixture started.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "service_client.h"
#include "test_support.h"
#include "webclient/account_session.h"
#include "webclient/rk.h"

namespace velinst::test {
namespace {

using service::test::ServiceClient;
using service::test::UniqueName;

constexpr std::int32_t kDuplicateUsername = 14;
constexpr std::int32_t kIncorrectPassword = 26;
constexpr std::int32_t kRecordNotFound = 37;
// Beyond the stand-in's token lifetime.
constexpr std::int64_t kPastTokenLifetime = 2 * 3600;

class AccountServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(service_.Ready()) << "no stand-in: its port file " << VELINST_SERVICE_PORT_FILE;
    ResetAccountSession();
    client_ = std::make_unique<CRK>(service_.HostText(), "", false);
  }
  void TearDown() override {
    client_.reset();
    ResetAccountSession();
    // The stand-in serves the other tests too.
    if (clockMoved_ != 0) service_.AdvanceClock(-clockMoved_);
  }

  void MoveServiceClock(std::int64_t seconds) {
    service_.AdvanceClock(seconds);
    clockMoved_ += seconds;
  }

  CRKAccountClass& Account() { return client_->AccountGroup(); }

  // A new user with `password`; its id, and its token in `token`.
  std::int32_t Register(const std::string& user, const std::string& password, std::string& token) {
    std::int32_t userId = 0;
    const CRKTokenResult result = Account().Register(user, password, true, "hw-1", "6.0", "velinst-test",
                                                     user + "@example.org", "", "", "", "", "", 70.5, "kg", &userId);
    EXPECT_EQ(result.code, 0);
    token = result.token;
    return userId;
  }

  CRKTokenResult Login(const std::string& user, const std::string& password, double* weight = nullptr,
                       std::string* units = nullptr, std::int32_t* userId = nullptr) {
    return Account().Login(user, password, "hw-1", "6.0", "velinst-test", "", "", "", "", "", weight, units, userId);
  }

  ComApartment com_;
  ServiceClient service_;
  std::unique_ptr<CRK> client_;
  std::int64_t clockMoved_ = 0;
};

TEST_F(AccountServiceTest, RegistrationSignInAndProfile) {
  const std::string user = UniqueName("walker");
  const std::string email = user + "@example.org";
  std::string token;
  const std::int32_t userId = Register(user, "secret-1", token);
  EXPECT_GT(userId, 0);
  EXPECT_FALSE(token.empty());
  EXPECT_EQ(CurrentAuthToken(), token);
  EXPECT_EQ(Account()
                .Register(user, "secret-1", std::nullopt, "", "", "", UniqueName("other") + "@example.org", "", "", "",
                          "", "", 0, "", nullptr)
                .code,
            kDuplicateUsername);

  const std::string displayName = UniqueName("Walker & Co");
  EXPECT_EQ(Account().Update(token, displayName, "", std::nullopt, std::nullopt), 0);
  struct Check {
    CRKExistsResult result;
    bool exists;
  } checks[] = {{Account().UsernameExists(user), true},
                {Account().UsernameExists(UniqueName("nobody")), false},
                {Account().EmailAddressExists(email), true},
                {Account().EmailAddressExists(UniqueName("nobody") + "@example.org"), false},
                {Account().DisplayNameExists(displayName), true},
                {Account().DisplayNameExists(UniqueName("nobody")), false}};
  for (const Check& check : checks) {
    EXPECT_EQ(check.result.code, 0);
    EXPECT_EQ(check.result.exists, check.exists);
  }

  double weight = 0;
  std::string units;
  std::int32_t signedInId = 0;
  const CRKTokenResult signedIn = Login(user, "secret-1", &weight, &units, &signedInId);
  ASSERT_EQ(signedIn.code, 0);
  EXPECT_EQ(signedInId, userId);
  EXPECT_EQ(weight, 70.5);
  EXPECT_EQ(units, "kg");
  EXPECT_EQ(CurrentAuthToken(), signedIn.token);
  EXPECT_EQ(Login(user, "wrong-1").code, kIncorrectPassword);
  EXPECT_EQ(CurrentAuthToken(), signedIn.token);

  EXPECT_EQ(Account().ChangePassword(signedIn.token, "secret-1", "secret-2"), 0);
  EXPECT_EQ(SavedCredentials().password, "secret-2");
  EXPECT_EQ(Login(user, "secret-1").code, kIncorrectPassword);
  EXPECT_EQ(Login(user, "secret-2").code, 0);

  EXPECT_EQ(Account().ResetPassword(email, true), 0);
  EXPECT_EQ(Account().ResetPassword(UniqueName("nobody") + "@example.org", false), kRecordNotFound);
}

TEST_F(AccountServiceTest, AnonymousDeviceToken) {
  const CRKTimeStampResult stamp = Account().GetTimeStamp();
  EXPECT_EQ(stamp.code, 0);
  EXPECT_FALSE(stamp.timeStamp.empty());
  const CRKTokenResult device =
      Account().GetAnonymousAuthToken("hw-2", "velinst-test", "6.0", "maker", "model", "", "fw", "");
  EXPECT_EQ(device.code, 0);
  EXPECT_FALSE(device.token.empty());
  EXPECT_EQ(CurrentAuthToken(), device.token);
  EXPECT_EQ(SavedCredentials().username, "");
}

TEST_F(AccountServiceTest, ExpiredTokenSignsInAgainAndTheCallIsRepeated) {
  const std::string user = UniqueName("hiker");
  std::string token;
  Register(user, "secret-1", token);
  MoveServiceClock(kPastTokenLifetime);

  EXPECT_EQ(Account().Update(token, "", "", 71.0, std::nullopt), 0);
  const std::string renewed = CurrentAuthToken();
  EXPECT_NE(renewed, token);
  EXPECT_FALSE(renewed.empty());
  double weight = 0;
  ASSERT_EQ(Login(user, "secret-1", &weight).code, 0);
  EXPECT_EQ(weight, 71.0);
}

}  // namespace
}  // namespace velinst::test
