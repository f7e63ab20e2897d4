// The account exports end to end against the account-service stand-in
// that the ctest fixture started, found through the machine's service host
// value.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "caller_text.h"
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
using service::test::ServiceReply;
using service::test::UniqueName;

constexpr int kIndexOutOfRange = 34;
constexpr int kRecordNotFound = 37;

struct Text {
  char bytes[1024] = {};
  std::string Get() const { return bytes; }
};

// A caller's text: Windows-1252 going in, UTF-8 in the service.
class CallerText {
 public:
  CallerText(const std::string& ascii = "") : sent_(ascii), utf8_(ascii) {}  // NOLINT: ASCII reads the same
  CallerText& Ascii(const std::string& text) {
    sent_ += text;
    utf8_ += text;
    return *this;
  }
  // A letter of Windows-1252 above ASCII and its UTF-8 form.
  CallerText& Letter(char ansi, const char* utf8) {
    sent_ += ansi;
    utf8_ += utf8;
    return *this;
  }
  // Fills up with `fill` until the stored form is `length` bytes long.
  CallerText& PadTo(std::size_t length, char fill = 'x') {
    while (Stored().size() < length) Ascii(std::string(1, fill));
    return *this;
  }
  const char* Sent() const { return sent_.c_str(); }
  std::string ReadBack() const { return ExportsAnswerInUtf8() ? utf8_ : sent_; }
  // As the service keeps it: escaped as the library sends it, in UTF-8.
  std::string Stored() const {
    std::string stored;
    for (const char c : utf8_) {
      switch (c) {
        case '&':
          stored += "&amp;";
          break;
        case '<':
          stored += "&lt;";
          break;
        case '>':
          stored += "&gt;";
          break;
        case '"':
          stored += "&quot;";
          break;
        case '\'':
          stored += "&apos;";
          break;
        default:
          stored += c;
      }
    }
    return stored;
  }

 private:
  std::string sent_;
  std::string utf8_;
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

// Every export with the hostile but legal texts each field takes, short and
// at the longest the service accepts, read back equal. The user then moves
// into a second account, which signs in with the password as typed while
// VEL_RDB_Login sends it escaped: both must work.
TEST_F(RdbServiceTest, HostileTextsThroughEveryExport) {
  struct Fields {
    CallerText user, password, product;
    CallerText name, address1, address2, city, state, zip, contact, contactEmail, contactPhone;
    CallerText first, last, email, phone;
  };
  const auto person = [](std::size_t userLength, std::size_t passwordLength, std::size_t textLength,
                         std::size_t emailLength, std::size_t phoneLength) {
    const std::string unique = UniqueName("h");
    const auto letters = [&](const std::string& ascii) {
      return CallerText(ascii)
          .Letter('\xE9', "\xC3\xA9")
          .Ascii(" ")
          .Letter('\xFC', "\xC3\xBC")
          .Ascii("&<>\"'=+%# ")
          .Letter('\xDF', "\xC3\x9F")
          .Ascii(unique)
          .PadTo(textLength);
    };
    const auto email = [&](const std::string& ascii) {
      const std::string domain = "@mail.test";
      return CallerText(ascii + "'+tag&x=1%#" + unique)
          .PadTo(emailLength - std::min(emailLength, domain.size()))
          .Ascii(domain);
    };
    Fields f;
    f.user = CallerText(unique + " a&b=c+d%25#<e> \"q\" 'r'").PadTo(userLength);
    f.password = CallerText("two words & a+b=c%41#<>\"'").PadTo(passwordLength);
    f.product = CallerText("product " + unique + " &+=%#");
    f.name = letters("Smith & Sons ");
    f.address1 = letters("1 \"Main\" St ");
    f.address2 = letters("<Suite> 5 ");
    f.city = letters("Bend ");
    f.state = letters("O'R ");
    f.zip = letters("97701 ");
    f.contact = letters("Ann & Bo ");
    f.contactEmail = email("desk");
    f.contactPhone = CallerText("+1 (555) 010-0100 / 7.").PadTo(phoneLength, '9');
    f.first = letters("Ann ");
    f.last = letters("O'Lee ");
    f.email = email("ann");
    f.phone = CallerText("+1 (555) 010-0101 / 7.").PadTo(phoneLength, '8');
    return f;
  };
  struct Case {
    const char* name;
    Fields fields;
  } cases[] = {
      {"short", person(0, 0, 0, 0, 0)},
      {"longest", person(128, 256, 1023, 254, 32)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Fields& f = c.fields;
    Text token;
    ASSERT_EQ(VEL_RDB_CreateUserAccount(admin_.bytes, f.product.Sent(), f.user.Sent(), f.password.Sent(), f.name.Sent(),
                                        f.address1.Sent(), f.address2.Sent(), f.city.Sent(), f.state.Sent(),
                                        f.zip.Sent(), f.contact.Sent(), f.contactEmail.Sent(), f.contactPhone.Sent(),
                                        f.first.Sent(), f.last.Sent(), f.email.Sent(), f.phone.Sent(), token.bytes),
              0);
    EXPECT_FALSE(token.Get().empty());

    int exists = -1;
    EXPECT_EQ(VEL_RDB_UserNameExists(f.user.Sent(), &exists), 0);
    EXPECT_EQ(exists, 1);
    exists = -1;
    EXPECT_EQ(VEL_RDB_EmailAddressExists(f.email.Sent(), &exists), 0);
    EXPECT_EQ(exists, 1);

    Text signedIn;
    int userId = 0;
    ASSERT_EQ(VEL_RDB_Login(f.user.Sent(), f.password.Sent(), signedIn.bytes, &userId), 0);

    Text contact, contactEmail, contactPhone;
    int accountId = 0, found = 0, count = 0, listed = 0;
    ASSERT_EQ(VEL_RDB_GetAccount(admin_.bytes, f.product.Sent(), contact.bytes, contactEmail.bytes, contactPhone.bytes,
                                 &accountId),
              0);
    EXPECT_EQ(contact.Get(), f.contact.ReadBack());
    EXPECT_EQ(contactEmail.Get(), f.contactEmail.ReadBack());
    EXPECT_EQ(contactPhone.Get(), f.contactPhone.ReadBack());
    EXPECT_EQ(VEL_RDB_FindAccount(signedIn.bytes, 0, f.product.Sent(), &found), 0);
    EXPECT_EQ(found, accountId);
    EXPECT_EQ(VEL_RDB_GetUserCount(signedIn.bytes, f.product.Sent(), &count), 0);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(VEL_RDB_GetUserID(signedIn.bytes, f.product.Sent(), 0, &listed), 0);
    EXPECT_EQ(listed, userId);

    // The account's own texts have no export that reads them.
    const ServiceReply account =
        service_.Call("Accounts.GetById", {{"authToken", admin_.Get()}, {"id", std::to_string(accountId)}});
    const std::pair<const char*, const CallerText*> stored[] = {{"Name", &f.name},         {"Address1", &f.address1},
                                                                {"Address2", &f.address2}, {"City", &f.city},
                                                                {"State", &f.state},       {"Zip", &f.zip}};
    for (const auto& [field, text] : stored) EXPECT_EQ(account.FieldText("Account", field), text->Stored()) << field;

    Text first, last, name, mail, phone;
    ASSERT_EQ(VEL_RDB_GetUserInfo(signedIn.bytes, userId, first.bytes, last.bytes, name.bytes, mail.bytes, phone.bytes),
              0);
    EXPECT_EQ(first.Get(), f.first.ReadBack());
    EXPECT_EQ(last.Get(), f.last.ReadBack());
    EXPECT_EQ(name.Get(), f.user.ReadBack());
    EXPECT_EQ(mail.Get(), f.email.ReadBack());
    EXPECT_EQ(phone.Get(), f.phone.ReadBack());

    // The fields change places.
    EXPECT_EQ(VEL_RDB_SetUserInfo(signedIn.bytes, userId, f.last.Sent(), f.first.Sent(), f.contactEmail.Sent(),
                                  f.contactPhone.Sent(), 1, 1),
              0);
    ASSERT_EQ(VEL_RDB_GetUserInfo(admin_.bytes, userId, first.bytes, last.bytes, name.bytes, mail.bytes, phone.bytes),
              0);
    EXPECT_EQ(first.Get(), f.last.ReadBack());
    EXPECT_EQ(last.Get(), f.first.ReadBack());
    EXPECT_EQ(name.Get(), f.user.ReadBack());
    EXPECT_EQ(mail.Get(), f.contactEmail.ReadBack());
    EXPECT_EQ(phone.Get(), f.contactPhone.ReadBack());

    // Into a second account: the first sign-in takes the password as typed.
    const std::string second = f.product.Sent() + std::string(" 2");
    Text moved;
    ASSERT_EQ(VEL_RDB_CreateUserAccount(admin_.bytes, second.c_str(), f.user.Sent(), f.password.Sent(), f.name.Sent(),
                                        "", "", "", "", "", "", "", "", f.first.Sent(), f.last.Sent(), f.email.Sent(),
                                        f.phone.Sent(), moved.bytes),
              0);
    EXPECT_EQ(VEL_RDB_GetUserCount(admin_.bytes, second.c_str(), &count), 0);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(VEL_RDB_Login(f.user.Sent(), f.password.Sent(), signedIn.bytes, &listed), 0);
    EXPECT_EQ(listed, userId);
  }
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

// A creation that fails after it added its new user leaves nothing behind:
// the same creation succeeds when tried again.
TEST_F(RdbServiceTest, AFailedCreationOfANewUserIsTakenBack) {
  struct Case {
    const char* name;
    const char* password;
    const char* method;  // answered with `error` once; none when null
    const char* error;   // empty: an answer that does not parse
    int code;
  } cases[] = {
      {"a password the service refuses", "short", nullptr, nullptr, 35},
      {"a failing role", "secret-4", "Roles.Add", "MissingCapabilityException", 30},
      {"a failing final sign-in", "secret-4", "Account.Login", "InvalidCredentialsException", 28},
      {"a role answer that does not parse", "secret-4", "Roles.Add", "", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string product = UniqueName("product");
    const std::string user = UniqueName("dee");
    if (c.method != nullptr) {
      const std::string body =
          *c.error == '\0' ? std::string("<rsp/>")
                           : "<rsp status=\"err\"><err type=\"" + std::string(c.error) + "\" msg=\"scripted\"/></rsp>";
      service_.Control().Answer(c.method, http::test::OkAnswer(body));
    }
    std::string token = "unchanged";
    EXPECT_EQ(Create(product, user, c.password, token), c.code);
    service_.Control().Reset();
    EXPECT_EQ(token, "");
    int accountId = 0, exists = -1;
    EXPECT_EQ(VEL_RDB_FindAccount(admin_.bytes, 0, product.c_str(), &accountId), kRecordNotFound);
    EXPECT_EQ(VEL_RDB_UserNameExists(user.c_str(), &exists), 0);
    EXPECT_EQ(exists, 0);
    EXPECT_EQ(Create(product, user, "secret-5", token), 0);
    EXPECT_FALSE(token.empty());
  }
}

// One process calling the exports from many threads at once, as an
// installer with worker threads may: every result is checked, and every
// sign-in returns its own user's token, never another thread's.
TEST_F(RdbServiceTest, SixteenThreadsOfMixedCallsEachGetTheirOwnAnswers) {
  struct Member {
    std::string product, user, password, email, token;
    int userId = 0, accountId = 0;
  };
  std::vector<Member> members(4);
  const char* passwords[] = {"two words + more", "pa&ss=w%rd#1", "<q\"u'o>te", "semi;colon,/slash"};
  for (std::size_t i = 0; i < members.size(); ++i) {
    Member& m = members[i];
    m.product = UniqueName("product");
    m.user = UniqueName("user");
    m.password = passwords[i];
    m.email = m.user + "+tag@example.org";
    ASSERT_EQ(Create(m.product, m.user, m.password.c_str(), m.token, m.email.c_str()), 0) << i;
    Text token, contact, mail, phone;
    ASSERT_EQ(VEL_RDB_Login(m.user.c_str(), m.password.c_str(), token.bytes, &m.userId), 0) << i;
    ASSERT_EQ(VEL_RDB_GetAccount(admin_.bytes, m.product.c_str(), contact.bytes, mail.bytes, phone.bytes,
                                 &m.accountId),
              0);
  }

  constexpr int kThreads = 16;
  constexpr int kCalls = 200;
  std::vector<std::vector<std::string>> faults(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      const Member& m = members[static_cast<std::size_t>(t) % members.size()];
      std::vector<std::string>& fault = faults[static_cast<std::size_t>(t)];
      auto check = [&fault](int call, const char* what, bool good) {
        if (!good && fault.size() < 5) fault.push_back("call " + std::to_string(call) + ": " + what);
      };
      Text own;
      for (int call = 0; call < kCalls; ++call) {
        int value = -1;
        switch (call % 8) {
          case 0: {
            check(call, "Login", VEL_RDB_Login(m.user.c_str(), m.password.c_str(), own.bytes, &value) == 0);
            check(call, "Login id", value == m.userId);
            break;
          }
          case 1:
            check(call, "UserNameExists", VEL_RDB_UserNameExists(m.user.c_str(), &value) == 0 && value == 1);
            break;
          case 2:
            check(call, "EmailAddressExists", VEL_RDB_EmailAddressExists(m.email.c_str(), &value) == 0 && value == 1);
            break;
          case 3:
            check(call, "GetUserCount", VEL_RDB_GetUserCount(admin_.bytes, m.product.c_str(), &value) == 0 && value == 1);
            break;
          case 4:
            check(call, "GetUserID",
                  VEL_RDB_GetUserID(admin_.bytes, m.product.c_str(), 0, &value) == 0 && value == m.userId);
            break;
          case 5: {
            Text contact, mail, phone;
            check(call, "GetAccount",
                  VEL_RDB_GetAccount(admin_.bytes, m.product.c_str(), contact.bytes, mail.bytes, phone.bytes,
                                     &value) == 0 &&
                      value == m.accountId && contact.Get() == "Ann & Bo");
            break;
          }
          case 6: {
            // The token this thread's own sign-in returned reads its own
            // user; another user's token may not.
            Text first, last, name, mail, phone;
            check(call, "GetUserInfo with the own token",
                  VEL_RDB_GetUserInfo(own.bytes, m.userId, first.bytes, last.bytes, name.bytes, mail.bytes,
                                      phone.bytes) == 0 &&
                      name.Get() == m.user && mail.Get() == m.email);
            break;
          }
          case 7:
            check(call, "FindAccount",
                  VEL_RDB_FindAccount(admin_.bytes, 0, m.product.c_str(), &value) == 0 && value == m.accountId);
            break;
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t)
    for (const std::string& fault : faults[static_cast<std::size_t>(t)]) ADD_FAILURE() << "thread " << t << ", " << fault;
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
