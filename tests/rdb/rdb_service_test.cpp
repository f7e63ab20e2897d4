// The account exports end to end against the account-service stand-in
// that the ctest fixture started, found through the machine's service host
// value.
#include <gtest/gtest.h>

#include <string>

#include "creg/reg.h"
#include "rdb/rdb_facade.h"
#include "rdb/service_host.h"
#include "scratch_registry.h"
#include "service_client.h"
#include "test_support.h"
#include "velinst.h"
#include "webclient/account_session.h"

namespace velinst::test {
namespace {

using service::test::ServiceClient;
using service::test::UniqueName;

constexpr int kIndexOutOfRange = 34;
constexpr int kRecordNotFound = 37;

struct Text {
  char bytes[1024] = {};
  std::string Get() const { return bytes; }
};

class RdbServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(service_.Ready()) << "no stand-in: its port file " << VELINST_SERVICE_PORT_FILE;
    UseScratchRegistry(registry_.Path());
    ResetAccountSession();
    SetServiceHost(service_.HostText());
    int adminId = 0;
    ASSERT_EQ(VEL_RDB_Login(ServiceClient::kAdminUser, ServiceClient::kAdminPassword, admin_.bytes, &adminId), 0);
  }
  void TearDown() override {
    CReg key;
    if (key.OpenLocalMachine(kServiceHostKey, true)) key.DeleteValue("");
    ResetAccountSession();
  }

  static void SetServiceHost(const std::string& host) {
    CReg key;
    ASSERT_TRUE(key.OpenLocalMachine(kServiceHostKey, true));
    ASSERT_TRUE(key.SetValue("", host.c_str()));
  }

  // A new account of `product` administrated by `user`; the user's token.
  int Create(const std::string& product, const std::string& user, const char* password, std::string& token,
             const char* email = nullptr) {
    Text out;
    const std::string address = email != nullptr ? email : user + "@example.org";
    const int code = VEL_RDB_CreateUserAccount(admin_.bytes, product.c_str(), user.c_str(), password, "Smith & Sons",
                                               "1 Main St", "", "Bend", "OR", "97701", "Ann & Bo", "desk@example.org",
                                               "555-0100", "Ann", "Lee", address.c_str(), "555-0101", out.bytes);
    token = out.Get();
    return code;
  }

  ServiceClient service_;
  TempDir registry_;
  Text admin_;
};

TEST_F(RdbServiceTest, ANewAccountThroughEveryExport) {
  const std::string product = UniqueName("product");
  const std::string user = UniqueName("ann");
  const std::string email = user + "@example.org";
  std::string token;
  ASSERT_EQ(Create(product, user, "secret-1", token), 0);
  EXPECT_FALSE(token.empty());

  int exists = -1;
  EXPECT_EQ(VEL_RDB_UserNameExists(user.c_str(), &exists), 0);
  EXPECT_EQ(exists, 1);
  EXPECT_EQ(VEL_RDB_UserNameExists(UniqueName("nobody").c_str(), &exists), 0);
  EXPECT_EQ(exists, 0);
  EXPECT_EQ(VEL_RDB_EmailAddressExists(email.c_str(), &exists), 0);
  EXPECT_EQ(exists, 1);

  Text signedIn;
  int userId = 0;
  ASSERT_EQ(VEL_RDB_Login(user.c_str(), "secret-1", signedIn.bytes, &userId), 0);
  EXPECT_FALSE(signedIn.Get().empty());
  EXPECT_GT(userId, 0);

  int accountId = 0, found = 0;
  Text contact, contactEmail, contactPhone;
  ASSERT_EQ(VEL_RDB_GetAccount(admin_.bytes, product.c_str(), contact.bytes, contactEmail.bytes, contactPhone.bytes,
                               &accountId),
            0);
  EXPECT_EQ(contact.Get(), "Ann & Bo");
  EXPECT_EQ(contactEmail.Get(), "desk@example.org");
  EXPECT_EQ(contactPhone.Get(), "555-0100");
  EXPECT_EQ(VEL_RDB_FindAccount(admin_.bytes, 12345, product.c_str(), &found), 0);
  EXPECT_EQ(found, accountId);

  int count = 0, listed = 0;
  EXPECT_EQ(VEL_RDB_GetUserCount(admin_.bytes, product.c_str(), &count), 0);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(VEL_RDB_GetUserID(admin_.bytes, product.c_str(), 0, &listed), 0);
  EXPECT_EQ(listed, userId);
  listed = -5;
  EXPECT_EQ(VEL_RDB_GetUserID(admin_.bytes, product.c_str(), 1, &listed), kIndexOutOfRange);
  EXPECT_EQ(listed, -5);

  Text first, last, name, mail, phone;
  ASSERT_EQ(VEL_RDB_GetUserInfo(signedIn.bytes, userId, first.bytes, last.bytes, name.bytes, mail.bytes, phone.bytes),
            0);
  EXPECT_EQ(first.Get(), "Ann");
  EXPECT_EQ(last.Get(), "Lee");
  EXPECT_EQ(name.Get(), user);
  EXPECT_EQ(mail.Get(), email);
  EXPECT_EQ(phone.Get(), "555-0101");

  EXPECT_EQ(VEL_RDB_SetUserInfo(admin_.bytes, userId, "Annie & Co", "O'Lee", email.c_str(), "", 1, 0), 0);
  ASSERT_EQ(VEL_RDB_GetUserInfo(admin_.bytes, userId, first.bytes, last.bytes, name.bytes, mail.bytes, phone.bytes), 0);
  EXPECT_EQ(first.Get(), "Annie & Co");
  EXPECT_EQ(last.Get(), "O'Lee");
  EXPECT_EQ(name.Get(), user);
  EXPECT_EQ(phone.Get(), "");
}

TEST_F(RdbServiceTest, AnExistingUserMovesToTheNewAccountWithTheFirstLoginsToken) {
  const std::string user = UniqueName("bo");
  const std::string first = UniqueName("product");
  std::string token;
  ASSERT_EQ(Create(first, user, "secret-2", token), 0);

  const std::string second = UniqueName("product");
  std::string moved;
  ASSERT_EQ(Create(second, user, "secret-2", moved), 0);
  EXPECT_FALSE(moved.empty());
  int count = -1;
  EXPECT_EQ(VEL_RDB_GetUserCount(admin_.bytes, second.c_str(), &count), 0);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(VEL_RDB_GetUserCount(admin_.bytes, first.c_str(), &count), 0);
  EXPECT_EQ(count, 0);
  // The token is the user's own.
  int userId = 0;
  Text name, unused;
  EXPECT_EQ(VEL_RDB_GetUserID(admin_.bytes, second.c_str(), 0, &userId), 0);
  EXPECT_EQ(
      VEL_RDB_GetUserInfo(moved.c_str(), userId, unused.bytes, unused.bytes, name.bytes, unused.bytes, unused.bytes),
      0);
  EXPECT_EQ(name.Get(), user);

  // A wrong password ends with the login's code; the new account stays.
  const std::string third = UniqueName("product");
  std::string refused = "unchanged";
  const int code = Create(third, user, "wrong-password", refused);
  EXPECT_TRUE(code == 26 || code == 28) << code;
  EXPECT_EQ(refused, "");
  int accountId = 0;
  EXPECT_EQ(VEL_RDB_FindAccount(admin_.bytes, 0, third.c_str(), &accountId), 0);
}

TEST_F(RdbServiceTest, AFailingUserAddTakesTheAccountBack) {
  const std::string product = UniqueName("product");
  std::string token;
  const int code = Create(product, UniqueName("cy"), "secret-3", token, "not-an-address");
  EXPECT_EQ(code, 16);
  int accountId = 0;
  EXPECT_EQ(VEL_RDB_FindAccount(admin_.bytes, 0, product.c_str(), &accountId), kRecordNotFound);
}

TEST_F(RdbServiceTest, WithoutTheRegistryValueTheDefaultHostIsUsed) {
  CReg key;
  ASSERT_TRUE(key.OpenLocalMachine(kServiceHostKey, true));
  ASSERT_TRUE(key.DeleteValue(""));
  std::int32_t exists = -1;
  CRdbFacade facade(service_.HostText().c_str());
  EXPECT_EQ(facade.UserNameExists(ServiceClient::kAdminUser, exists), 0);
  EXPECT_EQ(exists, 1);
}

}  // namespace
}  // namespace velinst::test
