// The VEL_RDB_ exports against the scripted test server: the calls each
// makes, in order, and what reaches the caller's buffers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>

#include "rdb_fixture.h"
#include "velinst.h"

namespace velinst::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
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

class RdbExportsTest : public RdbTest {
 protected:
  void SetUp() override {
    RdbTest::SetUp();
    server_.Reset();
  }

  // The request of `method`; fails the test when there is none.
  testserver::LoggedRequest Request(const std::string& method) {
    const auto requests = Requests();
    const auto methods = Methods();
    for (std::size_t i = 0; i < methods.size(); ++i)
      if (methods[i] == method) return requests[i];
    ADD_FAILURE() << "no request of " << method;
    return {};
  }

  int CreateUserAccount(const char* userName, const char* password, char* token) {
    return VEL_RDB_CreateUserAccount("admin-token", "P-1", userName, password, "Smith & Sons", "1 Main St", "", "Bend",
                                     "OR", "97701", "Ann", "ann@example.com", "555-0100", "Ann", "Lee",
                                     "ann@example.com", "555-0101", token);
  }

  void AnswerAccount() { AnswerOk("Accounts.Create", "<Account><Id>11</Id></Account>"); }
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

TEST_F(RdbExportsTest, CreateUserAccountForANewUser) {
  AnswerAccount();
  AnswerOk("Account.UsernameExists", "<Exists>false</Exists>");
  AnswerOk("AccountUsers.Add", "<AccountUser><Id>21</Id></AccountUser>");
  AnswerOk("AccountUsers.SetPassword", "");
  AnswerOk("Roles.Add", "");
  AnswerOk("Account.Login", "<AuthToken>final</AuthToken><UserID>21</UserID>");
  Buffer token;
  EXPECT_EQ(CreateUserAccount("ann&co", "p&w", token.Get()), 0);
  EXPECT_EQ(token.Text(), "final");
  EXPECT_THAT(Methods(), ElementsAre("Accounts.Create", "Account.UsernameExists", "AccountUsers.Add",
                                     "AccountUsers.SetPassword", "Roles.Add", "Account.Login"));
  EXPECT_THAT(Sent(),
              ElementsAre("authToken=admin-token&users=1&productId=P-1&sku=BASESUBSCRIPTION", "username=ann&amp;co",
                          "authToken=admin-token&accountId=11", "authToken=admin-token&userId=21",
                          "authToken=admin-token&userId=21&role=AccountAdmin",
                          LoginSent("ann&amp;co", "p&amp;w", "RidgelineAtlasPro")));
  EXPECT_THAT(Request("Accounts.Create").body, HasSubstr("\n  <Name>Smith &amp; Sons</Name>\n"));
  EXPECT_EQ(Request("AccountUsers.Add").body,
            "<AccountUser>\n<!-- <Id>0</Id> -->\n<FirstName>Ann</FirstName>\n<LastName>Lee</LastName>\n"
            "<UserName>ann&amp;co</UserName>\n<Email>ann@example.com</Email>\n<Phone>555-0101</Phone>\n"
            "<ReceiveNewsletter>false</ReceiveNewsletter>\n<ReceiveUpdates>false</ReceiveUpdates>\n</AccountUser>\n");
  EXPECT_THAT(Request("AccountUsers.SetPassword").body, HasSubstr("<Password>p&amp;w</Password>"));
}

TEST_F(RdbExportsTest, CreateUserAccountForAnExistingUserKeepsTheFirstToken) {
  AnswerAccount();
  AnswerOk("Account.UsernameExists", "<Exists>true</Exists>");
  AnswerOk("Account.Login", "<AuthToken>first</AuthToken><UserID>21</UserID>");
  AnswerOk("AccountUsers.Transfer", "");
  AnswerOk("AccountUsers.GetById",
           "<AccountUser><Id>21</Id><UserName>ann</UserName><Phone>old</Phone>"
           "<ReceiveUpdates>true</ReceiveUpdates></AccountUser>");
  AnswerOk("AccountUsers.Update", "<AccountUser><Id>21</Id></AccountUser>");
  AnswerOk("AccountUsers.SetPassword", "");
  AnswerOk("Roles.Add", "");
  Buffer token;
  EXPECT_EQ(CreateUserAccount("ann", "p&w", token.Get()), 0);
  EXPECT_EQ(token.Text(), "first");
  EXPECT_THAT(Methods(),
              ElementsAre("Accounts.Create", "Account.UsernameExists", "Account.Login", "AccountUsers.Transfer",
                          "AccountUsers.GetById", "AccountUsers.Update", "AccountUsers.SetPassword", "Roles.Add"));
  // The existing user proves the password as typed.
  const Texts sent = Sent();
  ASSERT_EQ(sent.size(), 8u);
  EXPECT_EQ(Texts(sent.begin() + 2, sent.begin() + 6),
            (Texts{LoginSent("ann", "p&w", "RidgelineAtlasPro"), "authToken=admin-token&userId=21&accountId=11",
                   "authToken=admin-token&id=21", "authToken=admin-token&id=21"}));
  EXPECT_THAT(Request("AccountUsers.Update").body,
              HasSubstr("<UserName>ann</UserName>\n<Email>ann@example.com</Email>\n<Phone>555-0101</Phone>\n"
                        "<ReceiveNewsletter>false</ReceiveNewsletter>\n<ReceiveUpdates>true</ReceiveUpdates>\n"));
  EXPECT_THAT(Request("AccountUsers.SetPassword").body, HasSubstr("<Password>p&amp;w</Password>"));
}

TEST_F(RdbExportsTest, CreateUserAccountStopsAtTheFirstFailure) {
  // "method=answer" scripts an answer of elements, "method!Type" an error of
  // that type, "method?" an answer that does not parse (the client raises).
  // Every case starts with Accounts.Create answered with account 11.
  const Texts newUser = {"Account.UsernameExists=<Exists>false</Exists>",
                         "AccountUsers.Add=<AccountUser><Id>21</Id></AccountUser>", "AccountUsers.SetPassword="};
  const auto with = [](Texts first, const Texts& more) {
    first.insert(first.end(), more.begin(), more.end());
    return first;
  };
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
      {"failing password: the new user and the account are removed",
       with({newUser[0], newUser[1]}, {"AccountUsers.SetPassword!PasswordFormatException"}), 35,
       {"AccountUsers.Add", "AccountUsers.SetPassword", kUserBack, kAccountBack}, ""},
      {"failing role, and the removals fail too: the role's code stands",
       with(newUser, {"Roles.Add!MissingCapabilityException", "AccountUsers.Remove!NotAuthorizedException",
                      "Accounts.Remove?"}), 30,
       {"AccountUsers.Add", "AccountUsers.SetPassword", "Roles.Add", kUserBack, kAccountBack}, ""},
      {"failing final sign-in", with(newUser, {"Roles.Add=", "Account.Login!InvalidCredentialsException"}), 28,
       {"AccountUsers.Add", "AccountUsers.SetPassword", "Roles.Add", "Account.Login", kUserBack, kAccountBack}, ""},
      {"a role answer that does not parse: taken back, then the export's failure", with(newUser, {"Roles.Add?"}), 3,
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
    AnswerAccount();
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
    EXPECT_EQ(CreateUserAccount("ann", "pw", token.Get()), c.code) << c.name;
    EXPECT_EQ(token.Text(), c.token) << c.name;
    Texts calls;
    const Texts methods = Methods(), sent = Sent();
    for (std::size_t i = 2; i < methods.size(); ++i)
      calls.push_back(methods[i].find(".Remove") == std::string::npos ? methods[i] : methods[i] + "(" + sent[i] + ")");
    EXPECT_EQ(calls, c.calls) << c.name;
  }
  EXPECT_EQ(Parameters(Request("Accounts.Create")).size(), 4u);
  server_.Reset();
  AnswerError("Accounts.Create", "DuplicateValueException");
  Buffer token;
  EXPECT_EQ(CreateUserAccount("ann", "pw", token.Get()), 15);
  EXPECT_THAT(Methods(), ElementsAre("Accounts.Create"));
}

TEST_F(RdbExportsTest, UserListOfAProductsAccount) {
  AnswerOk("Accounts.GetByProductId", "<Account><Id>11</Id></Account>");
  AnswerOk("AccountUsers.Get",
           "<Users><AccountUser><Id>21</Id></AccountUser><AccountUser><Id>22</Id></AccountUser></Users>");
  int count = -1;
  EXPECT_EQ(VEL_RDB_GetUserCount("t", "P-1", &count), 0);
  EXPECT_EQ(count, 2);
  EXPECT_THAT(Sent(), ElementsAre("authToken=t&productId=P-1", "authToken=t&accountId=11"));
  // {index, code, user id}
  const std::array<int, 3> cases[] = {{0, 0, 21}, {1, 0, 22}, {2, 34, -1}, {-1, 34, -1}, {1 << 30, 34, -1}};
  for (const auto& [index, code, id] : cases) {
    int userId = -1;
    EXPECT_EQ(VEL_RDB_GetUserID("t", "P-1", index, &userId), code) << index;
    EXPECT_EQ(userId, id) << index;
  }

  server_.Reset();
  AnswerOk("Accounts.GetByProductId", "<Account><Id>11</Id></Account>");
  AnswerOk("AccountUsers.Get", "<Users/>");
  EXPECT_EQ(VEL_RDB_GetUserCount("t", "P-1", &count), 0);
  EXPECT_EQ(count, 0);
  server_.Reset();
  AnswerError("Accounts.GetByProductId", "RecordNotFoundException");
  count = -1;
  EXPECT_EQ(VEL_RDB_GetUserCount("t", "P-1", &count), 37);
  EXPECT_EQ(count, -1);
  EXPECT_THAT(Methods(), ElementsAre("Accounts.GetByProductId"));
}

TEST_F(RdbExportsTest, AccountAndUserTextsAreDecodedAndCut) {
  AnswerOk("Accounts.GetByProductId",
           "<Account><Id>11</Id><ContactName>Smith &amp;amp; Sons</ContactName>"
           "<ContactEmail>a&amp;b@example.com</ContactEmail><ContactPhone>" +
               std::string(2000, '5') + "</ContactPhone></Account>");
  Buffer name, email, phone;
  int accountId = 0;
  EXPECT_EQ(VEL_RDB_GetAccount("t", "P-1", name.Get(), email.Get(), phone.Get(), &accountId), 0);
  EXPECT_EQ(Texts({name.Text(), email.Text(), phone.Text(), std::to_string(accountId)}),
            Texts({"Smith & Sons", "a&b@example.com", std::string(kTextSize - 1, '5'), "11"}));
  EXPECT_TRUE(phone.GuardIntact());

  AnswerOk("AccountUsers.GetById",
           "<AccountUser><Id>21</Id><FirstName>Ann &amp;lt;3</FirstName><LastName>Lee</LastName>"
           "<UserName>ann</UserName><Email>ann@example.com</Email><Phone></Phone></AccountUser>");
  Buffer first, last, user, mail, tel;
  EXPECT_EQ(VEL_RDB_GetUserInfo("t", 21, first.Get(), last.Get(), user.Get(), mail.Get(), tel.Get()), 0);
  EXPECT_EQ(Texts({first.Text(), last.Text(), user.Text(), mail.Text(), tel.Text()}),
            Texts({"Ann <3", "Lee", "ann", "ann@example.com", ""}));
  EXPECT_EQ(Sent().back(), "authToken=t&id=21");
}

TEST_F(RdbExportsTest, SetUserInfoEmptiesThePhoneAndKeepsTheUserName) {
  AnswerOk("AccountUsers.GetById",
           "<AccountUser><Id>21</Id><FirstName>A</FirstName><UserName>ann</UserName><Phone>555</Phone>"
           "</AccountUser>");
  AnswerOk("AccountUsers.Update", "<AccountUser><Id>21</Id></AccountUser>");
  EXPECT_EQ(VEL_RDB_SetUserInfo("t", 21, "Ann", "O'Lee", "ann@example.com", "", 1, 0), 0);
  EXPECT_THAT(Sent(), ElementsAre("authToken=t&id=21", "authToken=t&id=21"));
  EXPECT_EQ(Request("AccountUsers.Update").body,
            "<AccountUser>\n<!-- <Id>21</Id> -->\n<FirstName>Ann</FirstName>\n<LastName>O&apos;Lee</LastName>\n"
            "<UserName>ann</UserName>\n<Email>ann@example.com</Email>\n<Phone></Phone>\n"
            "<ReceiveNewsletter>true</ReceiveNewsletter>\n<ReceiveUpdates>false</ReceiveUpdates>\n</AccountUser>\n");
  server_.Reset();
  AnswerError("AccountUsers.GetById", "RecordNotFoundException");
  EXPECT_EQ(VEL_RDB_SetUserInfo("t", 99, "a", "b", "c", "d", 0, 0), 37);
  EXPECT_THAT(Methods(), ElementsAre("AccountUsers.GetById"));
}

TEST_F(RdbExportsTest, FindAccountAndExistenceChecks) {
  AnswerOk("Accounts.GetByProductId", "<Account><Id>11</Id></Account>");
  AnswerOk("Account.UsernameExists", "<Exists>True</Exists>");
  AnswerOk("Account.EmailAddressExists", "<Exists>false</Exists>");
  // The second argument of FindAccount is not used.
  int first = 0, second = 0, user = -1, email = -1;
  EXPECT_EQ(VEL_RDB_FindAccount("t", 0, "P-1", &first), 0);
  EXPECT_EQ(VEL_RDB_FindAccount("t", -77, "P-1", &second), 0);
  EXPECT_EQ(VEL_RDB_UserNameExists("a<b", &user), 0);
  EXPECT_EQ(VEL_RDB_EmailAddressExists("a\"b@example.com", &email), 0);
  EXPECT_EQ(std::vector<int>({first, second, user, email}), std::vector<int>({11, 11, 1, 0}));
  EXPECT_THAT(Sent(), ElementsAre("authToken=t&productId=P-1", "authToken=t&productId=P-1", "username=a&lt;b",
                                  "emailAddress=a&quot;b@example.com"));
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
      [&] { return VEL_RDB_GetUserCount("t", "P", nullptr); },
      [&] { return VEL_RDB_GetUserID("t", nullptr, 0, &number); },
      [&] { return VEL_RDB_GetAccount("t", "P", text.Get(), nullptr, text.Get(), &number); },
      [&] { return VEL_RDB_GetUserInfo("t", 1, text.Get(), text.Get(), text.Get(), text.Get(), nullptr); },
      [&] {
        return VEL_RDB_CreateUserAccount("t", "P", "u", "p", "n", "a", nullptr, "c", "s", "z", "cn", "ce", "cp", "f",
                                         "l", "e", "ph", text.Get());
      },
      [&] {
        return VEL_RDB_CreateUserAccount("t", "P", "u", "p", "n", "a", "b", "c", "s", "z", "cn", "ce", "cp", "f", "l",
                                         "e", "ph", nullptr);
      },
      [&] { return VEL_RDB_Login("u", nullptr, text.Get(), &number); },
      [&] { return VEL_RDB_Login("u", "p", nullptr, &number); },
      [&] { return VEL_RDB_SetUserInfo("t", 1, "f", "l", "e", nullptr, 0, 0); },
      [&] { return VEL_RDB_FindAccount("t", 0, nullptr, &number); },
      [&] { return VEL_RDB_UserNameExists(nullptr, &number); },
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
  RemoveServiceHost();
  EXPECT_EQ(ReadServiceHost("fallback.example"), "fallback.example");
}

}  // namespace
}  // namespace velinst::test
