#include "account_service.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "account_rules.h"
#include "auth_tokens.h"
#include "service_error.h"
#include "service_schema.h"
#include "sqlite_database.h"
#include "test_support.h"

namespace velinst::service {
namespace {

// The error type a call refuses with, or "ok".
template <typename Call>
std::string ErrorTypeOf(Call call) {
  try {
    call();
    return "ok";
  } catch (const ServiceError& error) {
    return error.Type();
  }
}

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

// Requests the service cannot take answer with the error type a client
// maps to its code.
TEST(AccountService, RequestsItCannotTakeAnswerTheirErrorType) {
  AccountService service(":memory:", ServiceSettings{});
  const struct {
    const char* query;
    const char* type;
  } cases[] = {{"", "RequestException"},
               {"method=Account.Nothing", "RequestException"},
               {"method=Account.Login&encryptedData=%%%", "ParameterException"},
               {"method=Account.Login&encryptedData=bm90LWVuY3J5cHRlZA%3d%3d", "ParameterException"},
               {"method=Weather.GetCurrentByLatLon&latitude=1&longitude=1", "MissingParameterException"},
               {"method=Weather.GetCurrentByLatLon&authToken=nope&latitude=1&longitude=1", "InvalidAuthTokenException"}};
  for (const auto& c : cases) {
    const ServiceAnswer answer = service.Handle(c.query, "", "127.0.0.1");
    EXPECT_NE(answer.body.find(std::string("type=\"") + c.type + "\""), std::string::npos) << c.query << ": " << answer.body;
  }
}

// A token lives from its issue up to, not including, the second it expires,
// and only for the address it was issued to.
TEST(AuthTokens, RefusedFromTheSecondTheyExpireAndFromOtherAddresses) {
  Database database(":memory:");
  PrepareSchema(database);
  const std::string token = IssueToken(database, {std::nullopt, "127.0.0.1", "hw", 1000, 60});
  const auto refusal = [&](const std::string& text, const char* address, std::int64_t now) {
    return ErrorTypeOf([&] { ResolveToken(database, text, address, now); });
  };
  EXPECT_EQ(refusal(token, "127.0.0.1", 1059), "ok");
  EXPECT_EQ(refusal(token, "127.0.0.1", 1060), "ExpiredAuthTokenException");
  EXPECT_EQ(refusal(token, "127.0.0.2", 1000), "AuthTokenIPAddressException");
  EXPECT_EQ(refusal(token + "x", "127.0.0.1", 1000), "InvalidAuthTokenException");
}

// The formats at their edges: blanks at either end, the shortest and
// longest lengths, control characters, bytes past ASCII.
TEST(AccountRules, FormatsRefuseTextsJustPastTheirEdges) {
  using Texts = std::vector<std::string>;
  const struct {
    void (*check)(std::string_view);
    const char* refusal;
    Texts valid, refused;
  } cases[] = {
      {CheckUserNameFormat, "UsernameFormatException",
       {"ann & co <'\"=+%#>", "Zo\xC3\xAB", std::string(128, 'u')},
       {std::string(129, 'u'), "", "ann ", " ann", "a\tb"}},
      {CheckPasswordFormat, "PasswordFormatException",
       {"sixchr", "p\xC3\xA4ss\xE2\x82\xAC", std::string(256, 'p')},
       {"fivec", std::string(257, 'p'), "pass\x7Fword"}},
      {CheckEmailFormat, "EmailAddressFormatException", {"a'+b&c=d%e#@x.org"}, {"a b@x.org", "a@x.", "a@@x.org"}},
  };
  for (const auto& c : cases) {
    for (const std::string& text : c.valid) EXPECT_EQ(ErrorTypeOf([&] { c.check(text); }), "ok") << text;
    for (const std::string& text : c.refused) EXPECT_EQ(ErrorTypeOf([&] { c.check(text); }), c.refusal) << text;
  }
}

}  // namespace
}  // namespace velinst::service
