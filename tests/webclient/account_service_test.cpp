// The Account group end to end against the account-service stand-in that
// the ctest fixture started.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>

#include "signed_in_service_test.h"

namespace velinst::test {
namespace {

using service::test::UniqueName;

constexpr std::int32_t kDuplicateUsername = 14;
constexpr std::int32_t kIncorrectPassword = 26;
constexpr std::int32_t kRecordNotFound = 37;
// Beyond the stand-in's token lifetime.
constexpr std::int64_t kPastTokenLifetime = 2 * 3600;

class AccountServiceTest : public SignedInServiceTest {
 protected:
  AccountServiceTest() : SignedInServiceTest("walker") {}
  void TearDown() override {
    SignedInServiceTest::TearDown();
    // The stand-in serves the other tests too.
    if (clockMoved_ != 0) service_.AdvanceClock(-clockMoved_);
  }

  CRKAccountClass& Account() { return client_->AccountGroup(); }
  CRKTokenResult Login(const std::string& password, double* weight = nullptr, std::string* units = nullptr,
                       std::int32_t* userId = nullptr) {
    return Account().Login(user_, password, "hw-1", "6.0", "velinst-test", "", "", "", "", "", weight, units, userId);
  }

  std::int64_t clockMoved_ = 0;
};

TEST_F(AccountServiceTest, RegistrationSignInAndProfile) {
  const std::string email = user_ + "@example.org";
  EXPECT_GT(userId_, 0);
  EXPECT_EQ(CurrentAuthToken(), token_);
  EXPECT_EQ(Account().Register(user_, "secret-1", true, "", "", "", UniqueName("o") + "@example.org", "", "", "", "",
                               "", 0, "", nullptr).code, kDuplicateUsername);

  const std::string displayName = UniqueName("Walker & Co");
  EXPECT_EQ(Account().Update(token_, displayName, "", std::nullopt, std::nullopt), 0);
  const std::string nobody = UniqueName("nobody");
  const std::pair<CRKExistsResult, bool> checks[] = {
      {Account().UsernameExists(user_), true},          {Account().UsernameExists(nobody), false},
      {Account().EmailAddressExists(email), true},      {Account().EmailAddressExists(nobody + "@example.org"), false},
      {Account().DisplayNameExists(displayName), true}, {Account().DisplayNameExists(nobody), false}};
  for (const auto& [result, exists] : checks)
    EXPECT_EQ(std::make_pair(result.code, result.exists), std::make_pair(0, exists));

  double weight = 0;
  std::string units;
  std::int32_t signedInId = 0;
  const CRKTokenResult signedIn = Login("secret-1", &weight, &units, &signedInId);
  ASSERT_EQ(signedIn.code, 0);
  EXPECT_EQ(std::make_tuple(signedInId, weight, units), std::make_tuple(userId_, 70.0, std::string("kg")));
  EXPECT_EQ(Login("wrong-1").code, kIncorrectPassword);
  EXPECT_EQ(CurrentAuthToken(), signedIn.token);

  EXPECT_EQ(Account().ResetPassword(email, true), 0);
  EXPECT_EQ(Account().ResetPassword(nobody + "@example.org", false), kRecordNotFound);
}

TEST_F(AccountServiceTest, AnonymousDeviceToken) {
  ResetAccountSession();  // a device without a signed-in user
  EXPECT_FALSE(Account().GetTimeStamp().timeStamp.empty());
  const CRKTokenResult device =
      Account().GetAnonymousAuthToken("hw-2", "velinst-test", "6.0", "maker", "model", "", "fw", "");
  EXPECT_EQ(std::make_tuple(device.code, device.token.empty(), CurrentAuthToken(), SavedCredentials().username),
            std::make_tuple(0, false, device.token, std::string()));
}

// The automatic sign-in uses the changed password, hostile as users type it.
TEST_F(AccountServiceTest, ExpiredTokenSignsInAgainWithTheChangedPassword) {
  const std::string password = "p&ss=+%#<>\"' 1";
  ASSERT_EQ(Account().ChangePassword(token_, "secret-1", password), 0);
  EXPECT_EQ(SavedCredentials().password, password);
  EXPECT_EQ(Login("secret-1").code, kIncorrectPassword);
  service_.AdvanceClock(kPastTokenLifetime);
  clockMoved_ += kPastTokenLifetime;
  const std::string expired = CurrentAuthToken();
  EXPECT_EQ(Account().Update(expired, "", "", 71.0, std::nullopt), 0);
  EXPECT_NE(CurrentAuthToken(), expired);
  EXPECT_FALSE(CurrentAuthToken().empty());
  double weight = 0;
  ASSERT_EQ(Login(password, &weight).code, 0);
  EXPECT_EQ(weight, 71.0);
}

}  // namespace
}  // namespace velinst::test
