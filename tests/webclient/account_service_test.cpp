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

constexpr std::int32_t kIncorrectPassword = 26;
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
