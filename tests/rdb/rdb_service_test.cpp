// The account exports end to end against the account-service stand-in
// that the ctest fixture started, found through the machine's service host
// value.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "caller_text.h"
#include "creg/reg.h"
#include "rdb/service_host.h"
#include "scratch_registry.h"
#include "service_client.h"
#include "test_server_client.h"
#include "test_support.h"
#include "velinst.h"
#include "webclient/account_session.h"
#include "webclient/client_state.h"
#include "webclient/request_query.h"

namespace velinst::test {
namespace {

using service::test::ServiceClient;
using service::test::UniqueName;

constexpr int kIndexOutOfRange = 34;
constexpr int kRecordNotFound = 37;
using Texts = std::vector<std::string>;

// The query texts encrypted since the last look, as the library sends them,
// each ended by "&".
std::string encryptedTexts;
PayloadEncrypter originalEncrypter = nullptr;
bool RecordingEncrypter(std::string_view plain, std::string& base64) {
  encryptedTexts.append(plain).append("&");
  return originalEncrypter(plain, base64);
}
// Whether one of them sent `password`; forgets them.
bool SentPassword(const std::string& password) {
  const bool sent = encryptedTexts.find("&password=" + EncodeQueryValue(password) + "&") != std::string::npos;
  encryptedTexts.clear();
  return sent;
}

struct Text {
  char bytes[1024] = {};
  std::string Get() const { return bytes; }
};

// A caller's text: Windows-1252 going in, UTF-8 in the service.
class CallerText {
 public:
  CallerText(const std::string& ascii = "") : sent_(ascii), utf8_(ascii) {}  // NOLINT: ASCII reads the same
  CallerText& Ascii(const std::string& text) { return Letter(text, text); }
  // A letter of Windows-1252 above ASCII and its UTF-8 form.
  CallerText& Letter(const std::string& ansi, const std::string& utf8) {
    sent_ += ansi, utf8_ += utf8;
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
      const char* entity = c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '"' ? "&quot;" : nullptr;
      stored += entity != nullptr ? entity : c == '\'' ? "&apos;" : std::string(1, c);
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
    SetServiceHost(std::nullopt);
    SetPayloadEncrypter(nullptr);
    service_.Control().Reset();
    ResetAccountSession();
  }
  // Sets the machine's value, or removes it.
  static void SetServiceHost(const std::optional<std::string>& host) {
    CReg key;
    ASSERT_TRUE(key.OpenLocalMachine(kServiceHostKey, true));
    if (host) ASSERT_TRUE(key.SetValue("", host->c_str()));
    else key.DeleteValue("");
  }
  // Every later call of `method` gets `body` as the stand-in's answer.
  void Script(const char* method, const std::string& body) { service_.Control().Answer(method, http::test::OkAnswer(body)); }
  // ... an error of `type`, or with an empty type an answer that does not parse.
  void Refuse(const char* method, const std::string& type) {
    Script(method, type.empty() ? "<rsp/>" : "<rsp status=\"err\"><err type=\"" + type + "\" msg=\"scripted\"/></rsp>");
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
  // The texts of VEL_RDB_GetUserInfo, or its code.
  static Texts UserInfo(const char* token, int userId) {
    Text first, last, name, mail, phone;
    const int code = VEL_RDB_GetUserInfo(token, userId, first.bytes, last.bytes, name.bytes, mail.bytes, phone.bytes);
    return code != 0 ? Texts{"code " + std::to_string(code)} : Texts{first.Get(), last.Get(), name.Get(), mail.Get(), phone.Get()};
  }
  // The texts and the id of VEL_RDB_GetAccount, or its code.
  Texts AccountOf(const char* product) {
    Text contact, email, phone;
    int accountId = 0;
    const int code = VEL_RDB_GetAccount(admin_.bytes, product, contact.bytes, email.bytes, phone.bytes, &accountId);
    return code != 0 ? Texts{"code " + std::to_string(code)} : Texts{contact.Get(), email.Get(), phone.Get(), std::to_string(accountId)};
  }
  int Count(const char* product) {
    int count = -1;
    const int code = VEL_RDB_GetUserCount(admin_.bytes, product, &count);
    return code == 0 ? count : -code;
  }

  ServiceClient service_;
  TempDir registry_;
  Text admin_;
};

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
      CallerText text(ascii);
      text.Letter("\xE9", "\xC3\xA9").Ascii(" ").Letter("\xFC", "\xC3\xBC").Ascii("&<>\"'=+%# ");
      return text.Letter("\xDF", "\xC3\x9F").Ascii(unique).PadTo(textLength);
    };
    const auto email = [&](const std::string& ascii) {
      const std::string domain = "@mail.test";
      return CallerText(ascii + "'+tag&x=1%#" + unique)
          .PadTo(emailLength - std::min(emailLength, domain.size()))
          .Ascii(domain);
    };
    // clang-format off
    return Fields{CallerText(unique + " a&b=c+d%25#<e> \"q\" 'r'").PadTo(userLength),
                  CallerText("two words & a+b=c%41#<>\"'").PadTo(passwordLength), CallerText("product " + unique + " &+=%#"),
                  letters("Smith & Sons "), letters("1 \"Main\" St "), letters("<Suite> 5 "), letters("Bend "),
                  letters("O'R "), letters("97701 "), letters("Ann & Bo "), email("desk"),
                  CallerText("+1 (555) 010-0100 / 7.").PadTo(phoneLength, '9'), letters("Ann "), letters("O'Lee "),
                  email("ann"), CallerText("+1 (555) 010-0101 / 7.").PadTo(phoneLength, '8')};
    // clang-format on
  };
  const std::pair<const char*, Fields> cases[] = {{"short", person(0, 0, 0, 0, 0)},
                                                  {"longest", person(128, 256, 1023, 254, 32)}};
  originalEncrypter = SetPayloadEncrypter(RecordingEncrypter);
  for (const auto& [caseName, f] : cases) {
    SCOPED_TRACE(caseName);
    Text token;
    ASSERT_EQ(VEL_RDB_CreateUserAccount(admin_.bytes, f.product.Sent(), f.user.Sent(), f.password.Sent(), f.name.Sent(),
                                        f.address1.Sent(), f.address2.Sent(), f.city.Sent(), f.state.Sent(),
                                        f.zip.Sent(), f.contact.Sent(), f.contactEmail.Sent(), f.contactPhone.Sent(),
                                        f.first.Sent(), f.last.Sent(), f.email.Sent(), f.phone.Sent(), token.bytes),
              0);
    EXPECT_FALSE(token.Get().empty());
    int exists = -1, also = -1;
    EXPECT_EQ(VEL_RDB_UserNameExists(f.user.Sent(), &exists), 0);
    EXPECT_EQ(VEL_RDB_EmailAddressExists(f.email.Sent(), &also), 0);
    EXPECT_EQ(std::make_pair(exists, also), std::make_pair(1, 1));

    Text signedIn;
    int userId = 0, found = 0, listed = 0;
    encryptedTexts.clear();
    ASSERT_EQ(VEL_RDB_Login(f.user.Sent(), f.password.Sent(), signedIn.bytes, &userId), 0);
    EXPECT_TRUE(SentPassword(f.password.Stored()));
    const Texts account = AccountOf(f.product.Sent());
    ASSERT_EQ(account.size(), 4u) << account[0];
    EXPECT_EQ(account, (Texts{f.contact.ReadBack(), f.contactEmail.ReadBack(), f.contactPhone.ReadBack(), account[3]}));
    EXPECT_EQ(VEL_RDB_FindAccount(signedIn.bytes, 0, f.product.Sent(), &found), 0);
    EXPECT_EQ(std::to_string(found), account[3]);
    EXPECT_EQ(Count(f.product.Sent()), 1);
    EXPECT_EQ(VEL_RDB_GetUserID(signedIn.bytes, f.product.Sent(), 0, &listed), 0);
    EXPECT_EQ(listed, userId);
    for (const int index : {1, -1, 1 << 30})
      EXPECT_EQ(VEL_RDB_GetUserID(signedIn.bytes, f.product.Sent(), index, &listed), kIndexOutOfRange) << index;
    EXPECT_EQ(listed, userId);

    // The account's own texts have no export that reads them.
    const auto stored = service_.Call("Accounts.GetById", {{"authToken", admin_.Get()}, {"id", account[3]}});
    const std::pair<const char*, const CallerText*> fields[] = {{"Name", &f.name},         {"Address1", &f.address1},
                                                                {"Address2", &f.address2}, {"City", &f.city},
                                                                {"State", &f.state},       {"Zip", &f.zip}};
    for (const auto& [field, text] : fields) EXPECT_EQ(stored.FieldText("Account", field), text->Stored()) << field;

    EXPECT_EQ(UserInfo(signedIn.bytes, userId), (Texts{f.first.ReadBack(), f.last.ReadBack(), f.user.ReadBack(),
                                                       f.email.ReadBack(), f.phone.ReadBack()}));
    // The fields change places.
    EXPECT_EQ(VEL_RDB_SetUserInfo(signedIn.bytes, userId, f.last.Sent(), f.first.Sent(), f.contactEmail.Sent(),
                                  f.contactPhone.Sent(), 1, 1),
              0);
    EXPECT_EQ(UserInfo(admin_.bytes, userId), (Texts{f.last.ReadBack(), f.first.ReadBack(), f.user.ReadBack(),
                                                     f.contactEmail.ReadBack(), f.contactPhone.ReadBack()}));

    // Into a second account: the first sign-in takes the password as typed.
    const std::string second = f.product.Sent() + std::string(" 2");
    Text moved;
    ASSERT_EQ(VEL_RDB_CreateUserAccount(admin_.bytes, second.c_str(), f.user.Sent(), f.password.Sent(), f.name.Sent(),
                                        "", "", "", "", "", "", "", "", f.first.Sent(), f.last.Sent(), f.email.Sent(),
                                        f.phone.Sent(), moved.bytes),
              0);
    EXPECT_TRUE(SentPassword(f.password.Sent()));
    EXPECT_EQ(std::make_pair(Count(second.c_str()), Count(f.product.Sent())), std::make_pair(1, 0));
    // The token is the moved user's own, and the user's texts are the new ones again.
    EXPECT_EQ(UserInfo(moved.bytes, userId), (Texts{f.first.ReadBack(), f.last.ReadBack(), f.user.ReadBack(),
                                                    f.email.ReadBack(), f.phone.ReadBack()}));
    EXPECT_EQ(VEL_RDB_Login(f.user.Sent(), f.password.Sent(), signedIn.bytes, &listed), 0);
    EXPECT_EQ(listed, userId);
  }
}

// A creation that fails after it made its account (and its new user) leaves
// nothing behind, with the first failure's code: the same creation succeeds
// when tried again. An existing user joins with the password as typed; when
// that or a later step fails, the new account stays.
TEST_F(RdbServiceTest, AFailedCreationIsTakenBack) {
  static constexpr const char* kHostile = "p&w<'\"> #+%=";
  struct Case {
    const char* password;
    const char* email;  // null: a good one
    Texts refused;      // "method" answered with the error "type" (empty: does not parse)
    int code;
    bool existing = false;  // the user has an account, with the password kHostile
  } cases[] = {
      {"secret-3", "not-an-address", {}, 16},
      {"short", nullptr, {}, 35},
      {"secret-4", nullptr, {"Accounts.Create", "DuplicateValueException"}, 15},
      {"secret-4", nullptr, {"AccountUsers.Add", "DuplicateEmailAddressException"}, 12},
      {"secret-4", nullptr, {"Roles.Add", "MissingCapabilityException"}, 30},
      {"secret-4", nullptr, {"Account.Login", "InvalidCredentialsException"}, 28},
      {"secret-4", nullptr, {"Roles.Add", ""}, 3},
      // The take-back fails too: the account stays, the role's code stands.
      {"secret-4", nullptr, {"Roles.Add", "MissingCapabilityException", "AccountUsers.Remove", "NotAuthorizedException",
                             "Accounts.Remove", ""}, 30},
      // An existing user's password short of its last character; a step after the sign-in failing.
      {"p&w<'\"> #+%", nullptr, {}, 26, true},
      {kHostile, nullptr, {"Roles.Add", "MissingCapabilityException"}, 30, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    const std::string product = UniqueName("product"), user = UniqueName("dee");
    std::string token = "unchanged";
    if (c.existing) { ASSERT_EQ(Create(UniqueName("product"), user, kHostile, token), 0); }
    for (std::size_t i = 0; i < c.refused.size(); i += 2) Refuse(c.refused[i].c_str(), c.refused[i + 1]);
    EXPECT_EQ(Create(product, user, c.password, token, c.email), c.code);
    service_.Control().Reset();
    if (c.existing) {  // signed in, the user has a token
      EXPECT_EQ(std::make_pair(token.empty(), Count(product.c_str())), std::make_pair(c.code == 26, c.code == 26 ? 0 : 1));
      continue;
    }
    EXPECT_EQ(token, "");
    if (c.refused.size() > 2) continue;
    int exists = -1;
    EXPECT_EQ(Count(product.c_str()), -kRecordNotFound);
    EXPECT_EQ(VEL_RDB_UserNameExists(user.c_str(), &exists), 0);
    EXPECT_EQ(exists, 0);
    EXPECT_EQ(Create(product, user, "secret-5", token), 0);
    EXPECT_FALSE(token.empty());
  }
}

// Tokens come back decoded once, and only when they fit with their NUL;
// a refusal writes nothing.
TEST_F(RdbServiceTest, WhatReachesTheCallersBuffersAndWhereTheServiceIs) {
  const std::string user = UniqueName("fay");
  std::string token;
  ASSERT_EQ(Create(UniqueName("product"), user, "secret-6", token), 0);
  const std::string ok = "<rsp status=\"ok\"><AuthToken>", end = "</AuthToken><UserID>21</UserID></rsp>";
  const struct {
    std::string answer;  // empty: the stand-in's own
    const char* password;
    int code;
    std::string token;
    int userId;
  } cases[] = {
      {"", "secret-7", 26, "", 5},
      {ok + "x&amp;amp;y" + end, "secret-6", 0, "x&amp;y", 21},
      {ok + std::string(1024, 't') + end, "secret-6", 3, "", 5},
      {ok + std::string(1023, 't') + end, "secret-6", 0, std::string(1023, 't'), 21},
  };
  for (const auto& c : cases) {
    service_.Control().Reset();
    if (!c.answer.empty()) Script("Account.Login", c.answer);
    char bytes[1024 + 64];  // with a guard band
    std::memset(bytes, '#', sizeof bytes);
    int userId = 5;
    EXPECT_EQ(VEL_RDB_Login(user.c_str(), c.password, bytes, &userId), c.code) << c.token.size();
    std::string expected = c.code == 0 ? c.token + '\0' : "";
    expected.resize(sizeof bytes, '#');
    EXPECT_EQ(std::string(bytes, sizeof bytes), expected) << c.token.size();
    EXPECT_EQ(userId, c.userId) << c.token.size();
  }

  // Unreadable answers and missing arguments give 3.
  int number = -1;
  Script("Account.UsernameExists", "<rsp status=\"ok\"><Exists>maybe</Exists></rsp>");
  EXPECT_EQ(VEL_RDB_UserNameExists("ann", &number), 3);
  testserver::ScriptedAnswer plain = http::test::OkAnswer("<rsp status=\"ok\"/>");
  plain.contentType = "text/plain";
  service_.Control().Answer("Account.EmailAddressExists", plain);
  EXPECT_EQ(VEL_RDB_EmailAddressExists("ann", &number), 3);

  Text text;
  const std::function<int()> calls[] = {
      [&] { return VEL_RDB_GetUserCount(nullptr, "P", &number); },
      [&] { return VEL_RDB_GetUserID(admin_.bytes, nullptr, 0, &number); },
      [&] { return VEL_RDB_GetAccount(admin_.bytes, "P", text.bytes, nullptr, text.bytes, &number); },
      [&] {
        return VEL_RDB_CreateUserAccount(admin_.bytes, "P", "u", "p", "n", "a", nullptr, "c", "s", "z", "cn", "ce",
                                         "cp", "f", "l", "e", "ph", text.bytes);
      },
      [&] { return VEL_RDB_Login("u", nullptr, text.bytes, &number); },
      [&] { return VEL_RDB_SetUserInfo(admin_.bytes, 1, "f", "l", "e", nullptr, 0, 0); },
      [&] { return VEL_RDB_EmailAddressExists("e", nullptr); },
  };
  for (const auto& call : calls) EXPECT_EQ(call(), 3);
  EXPECT_EQ(std::make_pair(text.Get(), number), std::make_pair(std::string(), -1));

  // Where the exports look for the service: the machine's value, unless it is
  // empty or too long.
  EXPECT_EQ(ReadServiceHost("fallback.example"), service_.HostText());
  for (const std::optional<std::string>& value : {std::optional<std::string>(""), std::optional(std::string(300, 'h')),
                                                   std::optional<std::string>()}) {
    SetServiceHost(value);
    EXPECT_EQ(ReadServiceHost("fallback.example"), "fallback.example") << value.value_or("(none)");
  }
}


// One process calling the exports from many threads at once, as an
// installer with worker threads may: every result is checked, and every
// sign-in returns its own user's token, never another thread's.
TEST_F(RdbServiceTest, SixteenThreadsOfMixedCallsEachGetTheirOwnAnswers) {
  struct Member {
    std::string password, product = UniqueName("product"), user = UniqueName("user"), email = user + "+tag@example.org";
    int userId = 0;
    Texts account{};
  };
  std::vector<Member> members = {{"two words + more"}, {"pa&ss=w%rd#1"}, {"<q\"u'o>te"}, {"semi;colon,/slash"}};
  for (Member& m : members) {
    std::string token;
    ASSERT_EQ(Create(m.product, m.user, m.password.c_str(), token, m.email.c_str()), 0) << m.password;
    Text own;
    ASSERT_EQ(VEL_RDB_Login(m.user.c_str(), m.password.c_str(), own.bytes, &m.userId), 0) << m.password;
    m.account = AccountOf(m.product.c_str());
    ASSERT_EQ(m.account.size(), 4u);
  }

  constexpr int kThreads = 16, kCalls = 200;
  std::vector<std::string> faults(kThreads);  // the first failed call of each thread
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      const Member& m = members[static_cast<std::size_t>(t) % members.size()];
      std::string& fault = faults[static_cast<std::size_t>(t)];
      const char* product = m.product.c_str();
      Text own;
      int value = -1;
      // The token of this thread's own sign-in (call 0) reads its own user (call 6).
      const std::function<bool()> checks[] = {
          [&] { return VEL_RDB_Login(m.user.c_str(), m.password.c_str(), own.bytes, &value) == 0 && value == m.userId; },
          [&] { return VEL_RDB_UserNameExists(m.user.c_str(), &value) == 0 && value == 1; },
          [&] { return VEL_RDB_EmailAddressExists(m.email.c_str(), &value) == 0 && value == 1; },
          [&] { return Count(product) == 1; },
          [&] { return VEL_RDB_GetUserID(admin_.bytes, product, 0, &value) == 0 && value == m.userId; },
          [&] { return AccountOf(product) == m.account; },
          [&] { return UserInfo(own.bytes, m.userId) == Texts{"Ann", "Lee", m.user, m.email, "555-0101"}; },
          [&] {
            return VEL_RDB_FindAccount(admin_.bytes, 0, product, &value) == 0 && std::to_string(value) == m.account[3];
          },
      };
      for (int call = 0; call < kCalls; ++call) {
        value = -1;
        if (!checks[call % 8]() && fault.empty()) fault = "call " + std::to_string(call);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(faults, std::vector<std::string>(kThreads));
}

}  // namespace
}  // namespace velinst::test
