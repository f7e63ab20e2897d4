// Where the account exports look for the service.
#include <gtest/gtest.h>

#include "rdb/rdb_facade.h"
#include "rdb_fixture.h"

namespace velinst::test {
namespace {

using ServiceHostTest = RdbTest;

TEST_F(ServiceHostTest, TheRegistryValueElseTheDefault) {
  EXPECT_EQ(ReadServiceHost("fallback.example"), server_.HostText());
  SetServiceHost("");
  EXPECT_EQ(ReadServiceHost("fallback.example"), "fallback.example");
  SetServiceHost(std::string(300, 'h'));
  EXPECT_EQ(ReadServiceHost("fallback.example"), "fallback.example");
  RemoveServiceHost();
  EXPECT_EQ(ReadServiceHost("fallback.example"), "fallback.example");
}

TEST_F(ServiceHostTest, WithoutTheValueTheFacadeReachesTheDefaultHost) {
  RemoveServiceHost();
  AnswerOk("Account.UsernameExists", "<Exists>true</Exists>");
  std::int32_t exists = 0;
  {
    CRdbFacade facade(server_.HostText().c_str());
    EXPECT_EQ(facade.UserNameExists("ann", exists), 0);
  }
  EXPECT_EQ(exists, 1);
  EXPECT_EQ(Methods(), std::vector<std::string>{"Account.UsernameExists"});
}

}  // namespace
}  // namespace velinst::test
