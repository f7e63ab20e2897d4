#include "account_service.h"

#include <gtest/gtest.h>

#include "account_rules.h"
#include "auth_tokens.h"
#include "service_error.h"
#include "service_schema.h"
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

// A token lives from its issue up to, not including, the second it expires,
// and only for the address it was issued to.
TEST(AuthTokens, RefusedFromTheSecondTheyExpireAndFromOtherAddresses) {
  Database database(":memory:");
  PrepareSchema(database);
  const std::string token = IssueToken(database, {std::nullopt, "127.0.0.1", "hw", 1000, 60});
  const auto refusal = [&](const std::string& text, const char* address, std::int64_t now) -> std::string {
    try {
      ResolveToken(database, text, address, now);
      return "ok";
    } catch (const ServiceError& error) {
      return error.Type();
    }
  };
  EXPECT_EQ(refusal(token, "127.0.0.1", 1059), "ok");
  EXPECT_EQ(refusal(token, "127.0.0.1", 1060), "ExpiredAuthTokenException");
  EXPECT_EQ(refusal(token, "127.0.0.2", 1000), "AuthTokenIPAddressException");
  EXPECT_EQ(refusal(token + "x", "127.0.0.1", 1000), "InvalidAuthTokenException");
}

// The formats at their edges: blanks at either end, the shortest and
// longest lengths, control characters.
TEST(AccountRules, FormatsRefuseTextsJustPastTheirEdges) {
  const struct {
    void (*check)(std::string_view);
    std::string text;
    bool valid;
  } cases[] = {
      {CheckUserNameFormat, "ann & co <'\"=+%#>", true}, {CheckUserNameFormat, std::string(128, 'u'), true},
      {CheckUserNameFormat, std::string(129, 'u'), false}, {CheckUserNameFormat, "", false},
      {CheckUserNameFormat, "ann ", false},               {CheckUserNameFormat, " ann", false},
      {CheckUserNameFormat, "a\tb", false},               {CheckPasswordFormat, "sixchr", true},
      {CheckPasswordFormat, "fivec", false},              {CheckPasswordFormat, std::string(256, 'p'), true},
      {CheckPasswordFormat, std::string(257, 'p'), false}, {CheckPasswordFormat, "pass\x7Fword", false},
      {CheckEmailFormat, "a'+b&c=d%e#@x.org", true},      {CheckEmailFormat, "a b@x.org", false},
      {CheckEmailFormat, "a@x.", false},                  {CheckEmailFormat, "a@@x.org", false},
  };
  for (const auto& c : cases) {
    bool valid = true;
    try {
      c.check(c.text);
    } catch (const ServiceError&) {
      valid = false;
    }
    EXPECT_EQ(valid, c.valid) << "\"" << c.text << "\"";
  }
}

}  // namespace
}  // namespace velinst::service
