#include "account_service.h"

#include <gtest/gtest.h>

#include "sqlite_database.h"
#include "test_support.h"

namespace velinst::service {
namespace {

TEST(AccountService, AFailureInsideAnswers500WithoutItsReason) {
  velinst::test::TempDir folder;
  const std::string path = folder.File("service.db");
  AccountService service(path, ServiceSettings{});
  Database(path).Run("DROP TABLE users");
  const ServiceAnswer answer = service.Handle("method=Account.UsernameExists&username=ann", "", "127.0.0.1");
  EXPECT_EQ(answer.status, 500);
  EXPECT_NE(answer.body.find("The service failed\""), std::string::npos) << answer.body;
  EXPECT_EQ(answer.body.find("users"), std::string::npos) << answer.body;
}

}  // namespace
}  // namespace velinst::service
