// The VEL_RDB_ exports against the scripted test server: the calls each
// makes, in order, and what reaches the caller's buffers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <vector>

#include "creg/reg.h"
#include "rdb/service_host.h"
#include "scratch_registry.h"
#include "service_fixture.h"
#include "velinst.h"

namespace velinst::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::size_t kTextSize = 1024;
using Texts = std::vector<std::string>;

// A caller's buffer with a guard band behind its 1024 bytes.
struct Buffer {
  Buffer() { std::memset(bytes, '#', sizeof bytes); }
  char* Get() { return bytes; }
  std::string Text() const { return std::string(bytes, strnlen(bytes, kTextSize)); }
  bool Untouched() const { return std::count(bytes, bytes + sizeof bytes, '#') == sizeof bytes; }
  bool GuardIntact() const { return std::count(bytes + kTextSize, bytes + sizeof bytes, '#') == 64; }
  char bytes[kTextSize + 64];
};

std::string LoginSent(const std::string& user, const std::string& password, const std::string& appName) {
  return "username=" + user + "&password=" + password + "&hardwareID=&appVersion=&appName=" + appName +
         "&manufacturer=&model=&carrier=&firmware=&drmInfo=";
}

// The scripted test server, which the machine's service host value names.
class RdbExportsTest : public ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    client_.reset();  // the exports make clients of their own
    UseScratchRegistry(registry_.Path());
    SetServiceHost(server_.HostText());
    server_.Reset();
  }
  void TearDown() override {
    SetServiceHost(std::nullopt);
    ServiceTest::TearDown();
  }
  // Sets the value, or removes it.
  static void SetServiceHost(const std::optional<std::string>& host) {
    CReg key;
    ASSERT_TRUE(key.OpenLocalMachine(kServiceHostKey, true));
    if (host) {
      ASSERT_TRUE(key.SetValue("", host->c_str()));
    } else {
      key.DeleteValue("");
    }
  }

  int CreateUserAccount(const char* userName, const char* password, char* token) {
    return VEL_RDB_CreateUserAccount("admin-token", "P-1", userName, password, "Smith & Sons", "1 Main St", "", "Bend",
                                     "OR", "97701", "Ann", "ann@example.com", "555-0100", "Ann", "Lee",
                                     "ann@example.com", "555-0101", token);
  }

  TempDir registry_;
};

TEST_F(RdbExportsTest, LoginSendsTheEscapedCredentialsAndCopiesTheTokenAsItCame) {
  AnswerOk("Account.Login", "<AuthToken>x&amp;amp;y</AuthToken><UserID>21</UserID>");
  Buffer token, again;
  int userId = 0;
  EXPECT_EQ(VEL_RDB_Login("ann & co", "p<w", token.Get(), &userId), 0);
  EXPECT_EQ(token.Text(), "x&amp;y");
  EXPECT_EQ(userId, 21);
  EXPECT_THAT(Sent(), ElementsAre(LoginSent("ann &amp; co", "p&lt;w", "HalvardOutdoors")));
  EXPECT_EQ(VEL_RDB_Login("ann", "pw", again.Get(), nullptr), 0);
  EXPECT_EQ(again.Text(), "x&amp;y");

  // A refusal, and a token that does not fit, write nothing; one byte less fits.
  const std::pair<std::string, int> answers[] = {
      {"<rsp status=\"err\"><err type=\"IncorrectPasswordException\"/></rsp>", 26},
      {"<rsp status=\"ok\"><AuthToken>" + std::string(kTextSize, 't') + "</AuthToken><UserID>21</UserID></rsp>", 3}};
  for (const auto& [answer, code] : answers) {
    server_.Reset();
    Answer("Account.Login", http::test::OkAnswer(answer));
    Buffer refused;
    userId = 5;
    EXPECT_EQ(VEL_RDB_Login("ann", "bad", refused.Get(), &userId), code);
    EXPECT_TRUE(refused.Untouched());
    EXPECT_EQ(userId, 5);
  }
  server_.Reset();
  AnswerOk("Account.Login", "<AuthToken>" + std::string(kTextSize - 1, 't') + "</AuthToken><UserID>21</UserID>");
  EXPECT_EQ(VEL_RDB_Login("ann", "pw", token.Get(), &userId), 0);
  EXPECT_EQ(token.Text(), std::string(kTextSize - 1, 't'));
  EXPECT_TRUE(token.GuardIntact());
}

TEST_F(RdbExportsTest, CreateUserAccountStopsAtTheFirstFailure) {
  // "method=answer" scripts an answer of elements, "method!Type" an error of
  // that type, "method?" an answer that does not parse (the client raises).
  // Every case starts with Accounts.Create answered with account 11.
  const char* kUserBack = "AccountUsers.Remove(authToken=admin-token&id=21)";
  const char* kAccountBack = "Accounts.Remove(authToken=admin-token&id=11)";
  struct Case {
    const char* name;
    Texts script;
    int code;
    Texts calls;  // after Accounts.Create and Account.UsernameExists; removals with their parameters
    const char* token;
  } cases[] = {
      // clang-format off
      {"wrong password of an existing user: the account stays",
       {"Account.UsernameExists=<Exists>true</Exists>", "Account.Login!IncorrectPasswordException"}, 26,
       {"Account.Login"}, ""},
      {"failing user add: the account is removed, the add's code returned",
       {"Account.UsernameExists=<Exists>false</Exists>", "AccountUsers.Add!DuplicateEmailAddressException",
        "Accounts.Remove!NotAuthorizedException"}, 12, {"AccountUsers.Add", kAccountBack}, ""},
      {"failing role, and the removals fail too: the role's code stands",
       {"Account.UsernameExists=<Exists>false</Exists>", "AccountUsers.Add=<AccountUser><Id>21</Id></AccountUser>",
        "AccountUsers.SetPassword=", "Roles.Add!MissingCapabilityException", "AccountUsers.Remove!NotAuthorizedException",
        "Accounts.Remove?"}, 30,
       {"AccountUsers.Add", "AccountUsers.SetPassword", "Roles.Add", kUserBack, kAccountBack}, ""},
      {"failing role of a moved user: the account stays",
       {"Account.UsernameExists=<Exists>true</Exists>", "Account.Login=<AuthToken>first</AuthToken><UserID>21</UserID>",
        "AccountUsers.Transfer=", "AccountUsers.GetById=<AccountUser><Id>21</Id></AccountUser>",
        "AccountUsers.Update=<AccountUser><Id>21</Id></AccountUser>", "AccountUsers.SetPassword=",
        "Roles.Add!MissingCapabilityException"}, 30,
       {"Account.Login", "AccountUsers.Transfer", "AccountUsers.GetById", "AccountUsers.Update",
        "AccountUsers.SetPassword", "Roles.Add"}, "first"},
      // clang-format on
  };
  for (const Case& c : cases) {
    server_.Reset();
    AnswerOk("Accounts.Create", "<Account><Id>11</Id></Account>");
    for (const std::string& line : c.script) {
      const std::size_t at = line.find_first_of("=!?");
      const std::string method = line.substr(0, at), rest = line.substr(at + 1);
      if (line[at] == '!')
        AnswerError(method, rest);
      else if (line[at] == '?')
        Answer(method, http::test::OkAnswer("<rsp/>"));
      else
        AnswerOk(method, rest);
    }
    Buffer token;
    EXPECT_EQ(CreateUserAccount("ann", "p&w<'", token.Get()), c.code) << c.name;
    EXPECT_EQ(token.Text(), c.token) << c.name;
    Texts calls;
    const Texts methods = Methods(), sent = Sent();
    // An existing user proves the password as typed.
    EXPECT_TRUE(c.calls[0] != "Account.Login" || sent.at(2) == LoginSent("ann", "p&w<'", "RidgelineAtlasPro"))
        << c.name << ": " << sent.at(2);
    for (std::size_t i = 2; i < methods.size(); ++i)
      calls.push_back(methods[i].find(".Remove") == std::string::npos ? methods[i] : methods[i] + "(" + sent[i] + ")");
    EXPECT_EQ(calls, c.calls) << c.name;
  }
  server_.Reset();
  AnswerError("Accounts.Create", "DuplicateValueException");
  Buffer token;
  EXPECT_EQ(CreateUserAccount("ann", "pw", token.Get()), 15);
  EXPECT_THAT(Methods(), ElementsAre("Accounts.Create"));
}

TEST_F(RdbExportsTest, RaisedFailuresAndMissingArgumentsGiveThree) {
  Answer("Account.UsernameExists", http::test::OkAnswer("<Exists>maybe</Exists>"));
  int exists = -1;
  EXPECT_EQ(VEL_RDB_UserNameExists("ann", &exists), 3);
  EXPECT_EQ(exists, -1);
  testserver::ScriptedAnswer plain = http::test::OkAnswer("<rsp status=\"ok\"/>");
  plain.contentType = "text/plain";
  Answer("Account.EmailAddressExists", plain);
  EXPECT_EQ(VEL_RDB_EmailAddressExists("ann", &exists), 3);
  EXPECT_THAT(TemporaryFiles(), IsEmpty());

  server_.Reset();
  Buffer text;
  int number = 0;
  const std::function<int()> calls[] = {
      [&] { return VEL_RDB_GetUserCount(nullptr, "P", &number); },
      [&] { return VEL_RDB_GetUserID("t", nullptr, 0, &number); },
      [&] { return VEL_RDB_GetAccount("t", "P", text.Get(), nullptr, text.Get(), &number); },
      [&] {
        return VEL_RDB_CreateUserAccount("t", "P", "u", "p", "n", "a", nullptr, "c", "s", "z", "cn", "ce", "cp", "f",
                                         "l", "e", "ph", text.Get());
      },
      [&] { return VEL_RDB_Login("u", nullptr, text.Get(), &number); },
      [&] { return VEL_RDB_SetUserInfo("t", 1, "f", "l", "e", nullptr, 0, 0); },
      [&] { return VEL_RDB_EmailAddressExists("e", nullptr); },
  };
  for (const auto& call : calls) EXPECT_EQ(call(), 3);
  EXPECT_THAT(Requests(), IsEmpty());
  EXPECT_TRUE(text.Untouched());
}

// Where the exports look for the service: the machine's value, unless it is
// empty or too long.
TEST_F(RdbExportsTest, ServiceHostIsTheRegistryValueElseTheDefault) {
  EXPECT_EQ(ReadServiceHost("fallback.example"), server_.HostText());
  for (const std::string& value : {std::string(), std::string(300, 'h')}) {
    SetServiceHost(value);
    EXPECT_EQ(ReadServiceHost("fallback.example"), "fallback.example") << value;
  }
  SetServiceHost(std::nullopt);
  EXPECT_EQ(ReadServiceHost("fallback.example"), "fallback.example");
}

}  // namespace
}  // namespace velinst::test
