// The VEL_RDB_ exports against the scripted test server: the calls each
// makes, in order, and what reaches the caller's buffers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "rdb_fixture.h"
#include "velinst.h"

namespace velinst::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Pair;

constexpr std::size_t kTextSize = 1024;

// A caller's buffer with a guard band behind its 1024 bytes.
struct Buffer {
  Buffer() { std::memset(bytes, '#', sizeof bytes); }
  char* Get() { return bytes; }
  std::string Text() const { return std::string(bytes, strnlen(bytes, kTextSize)); }
  bool Untouched() const {
    for (char c : bytes)
      if (c != '#') return false;
    return true;
  }
  bool GuardIntact() const {
    for (std::size_t i = kTextSize; i < sizeof bytes; ++i)
      if (bytes[i] != '#') return false;
    return true;
  }
  char bytes[kTextSize + 64];
};

QueryPairs LoginParameters(const std::string& user, const std::string& password, const std::string& appName) {
  return {{"username", user},   {"password", password}, {"hardwareID", ""}, {"appVersion", ""}, {"appName", appName},
          {"manufacturer", ""}, {"model", ""},          {"carrier", ""},    {"firmware", ""},   {"drmInfo", ""}};
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
  Buffer token;
  int userId = 0;
  EXPECT_EQ(VEL_RDB_Login("ann & co", "p<w", token.Get(), &userId), 0);
  EXPECT_EQ(token.Text(), "x&amp;y");
  EXPECT_EQ(userId, 21);
  EXPECT_EQ(Parameters(Request("Account.Login")), LoginParameters("ann &amp; co", "p&lt;w", "HalvardOutdoors"));

  Buffer again;
  EXPECT_EQ(VEL_RDB_Login("ann", "pw", again.Get(), nullptr), 0);
  EXPECT_EQ(again.Text(), "x&amp;y");

  server_.Reset();
  AnswerError("Account.Login", "IncorrectPasswordException");
  Buffer refused;
  userId = 5;
  EXPECT_EQ(VEL_RDB_Login("ann", "bad", refused.Get(), &userId), 26);
  EXPECT_TRUE(refused.Untouched());
  EXPECT_EQ(userId, 5);
}

TEST_F(RdbExportsTest, ATokenThatDoesNotFitIsAnErrorAndNothingIsWritten) {
  AnswerOk("Account.Login", "<AuthToken>" + std::string(kTextSize, 't') + "</AuthToken><UserID>21</UserID>");
  Buffer token;
  int userId = 5;
  EXPECT_EQ(VEL_RDB_Login("ann", "pw", token.Get(), &userId), 3);
  EXPECT_TRUE(token.Untouched());
  EXPECT_EQ(userId, 5);

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

  const auto create = Request("Accounts.Create");
  EXPECT_EQ(
      Parameters(create),
      (QueryPairs{{"authToken", "admin-token"}, {"users", "1"}, {"productId", "P-1"}, {"sku", "BASESUBSCRIPTION"}}));
  EXPECT_THAT(create.body, HasSubstr("\n  <Name>Smith &amp; Sons</Name>\n"));
  EXPECT_EQ(Parameters(Request("Account.UsernameExists")), (QueryPairs{{"username", "ann&amp;co"}}));
  const auto add = Request("AccountUsers.Add");
  EXPECT_EQ(Parameters(add), (QueryPairs{{"authToken", "admin-token"}, {"accountId", "11"}}));
  EXPECT_EQ(add.body,
            "<AccountUser>\n<!-- <Id>0</Id> -->\n<FirstName>Ann</FirstName>\n<LastName>Lee</LastName>\n"
            "<UserName>ann&amp;co</UserName>\n<Email>ann@example.com</Email>\n<Phone>555-0101</Phone>\n"
            "<ReceiveNewsletter>false</ReceiveNewsletter>\n<ReceiveUpdates>false</ReceiveUpdates>\n</AccountUser>\n");
  const auto password = Request("AccountUsers.SetPassword");
  EXPECT_EQ(Parameters(password), (QueryPairs{{"authToken", "admin-token"}, {"userId", "21"}}));
  EXPECT_THAT(password.body, HasSubstr("<Password>p&amp;w</Password>"));
  EXPECT_EQ(Parameters(Request("Roles.Add")),
            (QueryPairs{{"authToken", "admin-token"}, {"userId", "21"}, {"role", "AccountAdmin"}}));
  EXPECT_EQ(Parameters(Request("Account.Login")), LoginParameters("ann&amp;co", "p&amp;w", "RidgelineAtlasPro"));
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
  EXPECT_EQ(Parameters(Request("Account.Login")), LoginParameters("ann", "p&w", "RidgelineAtlasPro"));
  EXPECT_EQ(Parameters(Request("AccountUsers.Transfer")),
            (QueryPairs{{"authToken", "admin-token"}, {"userId", "21"}, {"accountId", "11"}}));
  const auto update = Request("AccountUsers.Update");
  EXPECT_EQ(Parameters(update), (QueryPairs{{"authToken", "admin-token"}, {"id", "21"}}));
  EXPECT_THAT(update.body, HasSubstr("<UserName>ann</UserName>\n<Email>ann@example.com</Email>\n"
                                     "<Phone>555-0101</Phone>\n<ReceiveNewsletter>false</ReceiveNewsletter>\n"
                                     "<ReceiveUpdates>true</ReceiveUpdates>\n"));
  EXPECT_THAT(Request("AccountUsers.SetPassword").body, HasSubstr("<Password>p&amp;w</Password>"));
}

TEST_F(RdbExportsTest, CreateUserAccountStopsAtTheFirstFailure) {
  // An answer of elements, an error of the given type, or an answer that
  // does not parse (the client raises).
  enum Kind { kOk, kError, kBroken };
  struct Scripted {
    const char* method;
    const char* answer;
    Kind kind = kOk;
  };
  const std::vector<Scripted> newUser = {{"Account.UsernameExists", "<Exists>false</Exists>"},
                                         {"AccountUsers.Add", "<AccountUser><Id>21</Id></AccountUser>"}};
  const std::vector<std::string> newUserMethods = {"Accounts.Create", "Account.UsernameExists", "AccountUsers.Add",
                                                   "AccountUsers.SetPassword"};
  const auto with = [](std::vector<Scripted> first, std::vector<Scripted> more) {
    first.insert(first.end(), more.begin(), more.end());
    return first;
  };
  const auto then = [](std::vector<std::string> first, std::vector<std::string> more) {
    first.insert(first.end(), more.begin(), more.end());
    return first;
  };
  const std::vector<std::string> takenBack = {"AccountUsers.Remove", "Accounts.Remove"};
  struct Case {
    const char* name;
    std::vector<Scripted> script;
    int code;
    std::vector<std::string> methods;
    const char* token = "";
  } cases[] = {
      {"wrong password of an existing user: the account stays",
       {{"Account.UsernameExists", "<Exists>true</Exists>"}, {"Account.Login", "IncorrectPasswordException", kError}},
       26,
       {"Accounts.Create", "Account.UsernameExists", "Account.Login"}},
      {"failing user add: the account is removed, the add's code returned",
       {{"Account.UsernameExists", "<Exists>false</Exists>"},
        {"AccountUsers.Add", "DuplicateEmailAddressException", kError},
        {"Accounts.Remove", "NotAuthorizedException", kError}},
       12,
       {"Accounts.Create", "Account.UsernameExists", "AccountUsers.Add", "Accounts.Remove"}},
      {"failing password: the new user and the account are removed",
       with(newUser, {{"AccountUsers.SetPassword", "PasswordFormatException", kError}}), 35,
       then(newUserMethods, takenBack)},
      {"failing role, and the removals fail too: the role's code stands",
       with(newUser, {{"AccountUsers.SetPassword", ""},
                      {"Roles.Add", "MissingCapabilityException", kError},
                      {"AccountUsers.Remove", "NotAuthorizedException", kError},
                      {"Accounts.Remove", "", kBroken}}),
       30, then(newUserMethods, then({"Roles.Add"}, takenBack))},
      {"failing final sign-in",
       with(newUser, {{"AccountUsers.SetPassword", ""},
                      {"Roles.Add", ""},
                      {"Account.Login", "InvalidCredentialsException", kError}}),
       28, then(newUserMethods, then({"Roles.Add", "Account.Login"}, takenBack))},
      {"a role answer that does not parse: taken back, then the export's failure",
       with(newUser, {{"AccountUsers.SetPassword", ""}, {"Roles.Add", "", kBroken}}), 3,
       then(newUserMethods, then({"Roles.Add"}, takenBack))},
      {"failing role of a moved user: the account stays",
       {{"Account.UsernameExists", "<Exists>true</Exists>"},
        {"Account.Login", "<AuthToken>first</AuthToken><UserID>21</UserID>"},
        {"AccountUsers.Transfer", ""},
        {"AccountUsers.GetById", "<AccountUser><Id>21</Id></AccountUser>"},
        {"AccountUsers.Update", "<AccountUser><Id>21</Id></AccountUser>"},
        {"AccountUsers.SetPassword", ""},
        {"Roles.Add", "MissingCapabilityException", kError}},
       30,
       {"Accounts.Create", "Account.UsernameExists", "Account.Login", "AccountUsers.Transfer", "AccountUsers.GetById",
        "AccountUsers.Update", "AccountUsers.SetPassword", "Roles.Add"},
       "first"},
  };
  for (const Case& c : cases) {
    server_.Reset();
    AnswerAccount();
    for (const Scripted& answer : c.script) {
      if (answer.kind == kError)
        AnswerError(answer.method, answer.answer);
      else if (answer.kind == kBroken)
        Answer(answer.method, http::test::OkAnswer("<rsp/>"));
      else
        AnswerOk(answer.method, answer.answer);
    }
    Buffer token;
    EXPECT_EQ(CreateUserAccount("ann", "pw", token.Get()), c.code) << c.name;
    EXPECT_EQ(token.Text(), c.token) << c.name;
    EXPECT_EQ(Methods(), c.methods) << c.name;
    if (c.methods.back() == "Accounts.Remove") {
      if (c.methods.end()[-2] == "AccountUsers.Remove") {
        EXPECT_EQ(Parameters(Request("AccountUsers.Remove")), (QueryPairs{{"authToken", "admin-token"}, {"id", "21"}}))
            << c.name;
      }
      EXPECT_EQ(Parameters(Request("Accounts.Remove")), (QueryPairs{{"authToken", "admin-token"}, {"id", "11"}}))
          << c.name;
    }
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
  EXPECT_EQ(Parameters(Request("Accounts.GetByProductId")), (QueryPairs{{"authToken", "t"}, {"productId", "P-1"}}));
  EXPECT_EQ(Parameters(Request("AccountUsers.Get")), (QueryPairs{{"authToken", "t"}, {"accountId", "11"}}));

  struct Case {
    int index;
    int code;
    int userId;
  } cases[] = {{0, 0, 21}, {1, 0, 22}, {2, 34, -1}, {-1, 34, -1}, {1 << 30, 34, -1}};
  for (const Case& c : cases) {
    int userId = -1;
    EXPECT_EQ(VEL_RDB_GetUserID("t", "P-1", c.index, &userId), c.code) << c.index;
    EXPECT_EQ(userId, c.userId) << c.index;
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
  EXPECT_EQ(name.Text(), "Smith & Sons");
  EXPECT_EQ(email.Text(), "a&b@example.com");
  EXPECT_EQ(phone.Text(), std::string(kTextSize - 1, '5'));
  EXPECT_TRUE(phone.GuardIntact());
  EXPECT_EQ(accountId, 11);

  AnswerOk("AccountUsers.GetById",
           "<AccountUser><Id>21</Id><FirstName>Ann &amp;lt;3</FirstName><LastName>Lee</LastName>"
           "<UserName>ann</UserName><Email>ann@example.com</Email><Phone></Phone></AccountUser>");
  Buffer first, last, user, mail, tel;
  EXPECT_EQ(VEL_RDB_GetUserInfo("t", 21, first.Get(), last.Get(), user.Get(), mail.Get(), tel.Get()), 0);
  EXPECT_EQ(first.Text(), "Ann <3");
  EXPECT_EQ(last.Text(), "Lee");
  EXPECT_EQ(user.Text(), "ann");
  EXPECT_EQ(mail.Text(), "ann@example.com");
  EXPECT_EQ(tel.Text(), "");
  EXPECT_EQ(Parameters(Request("AccountUsers.GetById")), (QueryPairs{{"authToken", "t"}, {"id", "21"}}));
}

TEST_F(RdbExportsTest, SetUserInfoEmptiesThePhoneAndKeepsTheUserName) {
  AnswerOk("AccountUsers.GetById",
           "<AccountUser><Id>21</Id><FirstName>A</FirstName><UserName>ann</UserName><Phone>555</Phone>"
           "</AccountUser>");
  AnswerOk("AccountUsers.Update", "<AccountUser><Id>21</Id></AccountUser>");
  EXPECT_EQ(VEL_RDB_SetUserInfo("t", 21, "Ann", "O'Lee", "ann@example.com", "", 1, 0), 0);
  const auto update = Request("AccountUsers.Update");
  EXPECT_EQ(Parameters(update), (QueryPairs{{"authToken", "t"}, {"id", "21"}}));
  EXPECT_EQ(update.body,
            "<AccountUser>\n<!-- <Id>21</Id> -->\n<FirstName>Ann</FirstName>\n<LastName>O&apos;Lee</LastName>\n"
            "<UserName>ann</UserName>\n<Email>ann@example.com</Email>\n<Phone></Phone>\n"
            "<ReceiveNewsletter>true</ReceiveNewsletter>\n<ReceiveUpdates>false</ReceiveUpdates>\n</AccountUser>\n");

  server_.Reset();
  AnswerError("AccountUsers.GetById", "RecordNotFoundException");
  EXPECT_EQ(VEL_RDB_SetUserInfo("t", 99, "a", "b", "c", "d", 0, 0), 37);
  EXPECT_THAT(Methods(), ElementsAre("AccountUsers.GetById"));
}

TEST_F(RdbExportsTest, FindAccountIgnoresItsSecondArgument) {
  AnswerOk("Accounts.GetByProductId", "<Account><Id>11</Id></Account>");
  int first = 0, second = 0;
  EXPECT_EQ(VEL_RDB_FindAccount("t", 0, "P-1", &first), 0);
  EXPECT_EQ(VEL_RDB_FindAccount("t", -77, "P-1", &second), 0);
  EXPECT_EQ(first, 11);
  EXPECT_EQ(second, 11);
  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].target, requests[1].target);
}

TEST_F(RdbExportsTest, ExistenceChecks) {
  AnswerOk("Account.UsernameExists", "<Exists>True</Exists>");
  AnswerOk("Account.EmailAddressExists", "<Exists>false</Exists>");
  int exists = -1;
  EXPECT_EQ(VEL_RDB_UserNameExists("a<b", &exists), 0);
  EXPECT_EQ(exists, 1);
  EXPECT_EQ(VEL_RDB_EmailAddressExists("a\"b@example.com", &exists), 0);
  EXPECT_EQ(exists, 0);
  EXPECT_EQ(Parameters(Request("Account.UsernameExists")), (QueryPairs{{"username", "a&lt;b"}}));
  EXPECT_EQ(Parameters(Request("Account.EmailAddressExists")), (QueryPairs{{"emailAddress", "a&quot;b@example.com"}}));
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

}  // namespace
}  // namespace velinst::test
