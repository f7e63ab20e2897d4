// Send and the method groups over HTTP against the scripted test server:
// the platform's real transport and XML parser, the query keys and documents
// each method sends, and what it makes of the answer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "http/payload_cipher.h"
#include "http/payload_key.h"
#include "platform/base64.h"
#include "temporary_folder.h"
#include "test_server_client.h"
#include "test_support.h"
#include "webclient/account_parsers.h"
#include "webclient/account_session.h"
#include "webclient/result_code.h"
#include "webclient/rk.h"
#include "webclient/rkad.h"

// Records are written with their first fields only; the others keep their
// defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace velinst::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testserver::ScriptedAnswer;

std::string PercentDecoded(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool escape = text[i] == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1]));
    out.push_back(escape ? static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)) : text[i]);
    i += escape ? 2 : 0;
  }
  return out;
}

std::string Decrypted(const std::string& base64) {
  std::vector<std::uint8_t> ciphertext(Base64DecodedCapacity(base64.size()));
  ciphertext.resize(Base64Decode(ciphertext.data(), base64.c_str(), base64.size()));
  std::string plain(ciphertext.size(), '\0');  // the plain text is never longer
  auto length = static_cast<std::uint32_t>(plain.size());
  if (!http::CPayloadCipher(http::PayloadKeyMaterial()).Decrypt(ciphertext.data(), length, plain.data(), length))
    return "(undecryptable)";
  return plain.substr(0, length);
}

// A query ("a=1&b=2") without its "method", the values decoded; an encrypted
// parameter is replaced by the parameters it carries.
std::string Decoded(const std::string& query) {
  std::string out;
  std::istringstream items(query);
  for (std::string item; std::getline(items, item, '&');) {
    const std::size_t equals = item.find('=');
    const std::string name = item.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : PercentDecoded(item.substr(equals + 1));
    if (item.empty() || name == "method") continue;
    const bool encrypted = name == "encryptedData" || name == "encryptedDeviceInfo";
    const std::string pairs = encrypted ? Decoded(Decrypted(value)) : name + "=" + value;
    if (!pairs.empty()) out += (out.empty() ? "" : "&") + pairs;
  }
  return out;
}

// The message `action` raises through a CLastErr pointer, or "(nothing)";
// `raisedOn` (when given) receives the pointer thrown.
template <typename Action>
std::string Raised(Action action, const CLastErr** raisedOn = nullptr) {
  try {
    action();
  } catch (CLastErr* error) {
    if (raisedOn != nullptr) *raisedOn = error;
    const char* text = nullptr;
    return error->GetText(text) ? text : "";
  }
  return "(nothing)";
}

// The account web service as the scripted test server plays it, a client
// on it, and a temporary folder of the test's own where answers land.
class SendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.Ready()) << "no test server: its port file " << VELINST_TESTSERVER_PORT_FILE;
    ResetAccountSession();
    redirect_.emplace(temporary_.Path());
    client_ = std::make_unique<CRKAD>(server_.HostText(), "", false);
  }
  void TearDown() override {
    client_.reset();
    redirect_.reset();
    SetPayloadEncrypter(nullptr);
    SetSignInClock(nullptr);
    ResetAccountSession();
  }

  // "rsp" with status="ok" around `elements`, for every request of `method`
  // (the last scripted answer repeats).
  void AnswerOk(const std::string& method, const std::string& elements) {
    server_.Answer(method, http::test::OkAnswer("<rsp status=\"ok\">" + elements + "</rsp>"));
  }
  // "rsp" with status="err" and an error element of `type`.
  void AnswerError(const std::string& method, const std::string& type) {
    server_.Answer(method,
                   http::test::OkAnswer("<rsp status=\"err\"><err type=\"" + type + "\" msg=\"scripted\"/></rsp>"));
  }
  // Signs in through the Account group so that saved credentials exist.
  void SignIn(const std::string& token) {
    AnswerOk("Account.Login", "<AuthToken>" + token + "</AuthToken><UserID>1</UserID>");
    ASSERT_EQ(Account().Login("user", "pass", "", "", "app", "", "", "", "", "", nullptr, nullptr, nullptr).code,
              kRKSuccess);
    server_.Reset();
  }

  std::vector<testserver::LoggedRequest> Requests() { return server_.Requests(); }
  // The query of a request as sent, from its "method" parameter on.
  static std::string RawQuery(const testserver::LoggedRequest& request) {
    return request.target.substr(std::min(request.target.find('?'), request.target.size() - 1) + 1);
  }
  // The method names of the requests received, in order.
  std::vector<std::string> Methods() {
    std::vector<std::string> methods;
    for (const auto& request : Requests()) methods.push_back(RawQuery(request).substr(7, RawQuery(request).find('&') - 7));
    return methods;
  }
  // What every request received carried, decoded.
  std::vector<std::string> Sent() {
    std::vector<std::string> sent;
    for (const auto& request : Requests()) sent.push_back(Decoded(RawQuery(request)));
    return sent;
  }
  // What the temporary folder holds now.
  std::vector<std::string> TemporaryFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(temporary_.Path()))
      names.push_back(entry.path().filename().string());
    return names;
  }

  CRKAD& Client() { return *client_; }
  CRKAccountClass& Account() { return client_->AccountGroup(); }

  ComApartment com_;
  http::test::TestServerClient server_;
  TempDir temporary_;
  std::optional<TemporaryFolderRedirect> redirect_;
  std::unique_ptr<CRKAD> client_;
};

constexpr const char* kCall = "Test.Call";
constexpr const char* kExpired = "ExpiredAuthTokenException";
constexpr const char* kSignIn =
    "username=user&password=pass&hardwareID=&appVersion=&appName=app&manufacturer=&model=&carrier=&firmware=&drmInfo=";

// Raises "Bad tag" for every element.
class RefusingParser : public IRKParser {
 public:
  void Parse(CXMLNodeCursor&) override { RaiseText("Bad tag"); }
};

ScriptedAnswer Body(const std::string& body, const std::string& contentType = "text/xml", int status = 200) {
  ScriptedAnswer answer = http::test::OkAnswer(body);
  answer.contentType = contentType;
  answer.status = status;
  return answer;
}

TEST_F(SendTest, AnExpiredTokenSignsInOnceAndRepeatsTheCall) {
  struct Case {
    CRKParameterList parameters;
    std::vector<const char*> answers;  // of the call in turn, error types; empty: ok
    const char* signInError;           // null: the sign-in gives "t1"
    std::int32_t code;
    std::vector<std::string> sent;
    const char* token;
  } cases[] = {
      // clang-format off
      // The new token goes first; without a leading token the old values stay.
      {{{"authToken", "t0"}, {"x", "1"}}, {kExpired, ""}, nullptr, 0, {"authToken=t0&x=1", kSignIn, "authToken=t1&x=1"}, "t1"},
      {{{"x", "1"}, {"authToken", "t0"}}, {kExpired, ""}, nullptr, 0, {"x=1&authToken=t0", kSignIn, "x=1&authToken=t0"}, "t1"},
      // Repeated once only; a sign-in that expires too starts no second one.
      {{{"authToken", "t0"}}, {kExpired}, nullptr, kRKExpiredAuthToken, {"authToken=t0", kSignIn, "authToken=t1"}, "t1"},
      {{{"authToken", "t0"}}, {kExpired}, kExpired, kRKExpiredAuthToken, {"authToken=t0", kSignIn}, "t0"},
      // Other errors are returned without a sign-in.
      {{{"authToken", "t0"}}, {"NotAuthorizedException"}, nullptr, 32, {"authToken=t0"}, "t0"},
      // clang-format on
  };
  for (const Case& c : cases) {
    SignIn("t0");
    for (const char* answer : c.answers) *answer ? AnswerError(kCall, answer) : AnswerOk(kCall, "");
    if (c.signInError != nullptr)
      AnswerError("Account.Login", c.signInError);
    else
      AnswerOk("Account.Login", "<AuthToken>t1</AuthToken><UserID>1</UserID>");
    EXPECT_EQ(Client().Send(kCall, c.parameters, nullptr, kRKPlain), c.code) << c.sent[0];
    EXPECT_EQ(Sent(), c.sent);
    EXPECT_EQ(CurrentAuthToken(), c.token) << c.sent[0];
    EXPECT_THAT(TemporaryFiles(), IsEmpty());
    server_.Reset();
  }
}

// The first expired token signs in again; a later one only within the hour
// after the previous automatic sign-in, whose window any handled server
// error opens. Without a saved password there is no sign-in.
std::int64_t fakeNow = 0;
TEST_F(SendTest, AutomaticSignInsOnlyWithinAnHourOfThePreviousOne) {
  SetSignInClock([] { return fakeNow; });
  SignIn("t0");
  const struct {
    std::int64_t at;
    const char* error;
    int signIns;
  } cases[] = {{1000, kExpired, 1},        {1000 + 3600, kExpired, 1}, {1000 + 7201, kExpired, 0},
               {50, "NotAuthorizedException", 0}, {50 + 3601, kExpired, 0}};
  for (const auto& c : cases) {
    if (c.at == 50) {
      ResetAccountSession();
      SignIn("t0");
    }
    fakeNow = c.at;
    AnswerOk("Account.Login", "<AuthToken>t1</AuthToken><UserID>1</UserID>");
    AnswerError(kCall, c.error);
    Client().Send(kCall, {{"authToken", "t"}}, nullptr, kRKPlain);
    const std::vector<std::string> methods = Methods();
    EXPECT_EQ(std::count(methods.begin(), methods.end(), "Account.Login"), c.signIns) << c.at;
    server_.Reset();
  }
  SaveCredentials({"user", "", "", "", "", "", "", "", "", ""});
  AnswerError(kCall, kExpired);
  EXPECT_EQ(Client().Send(kCall, {{"authToken", "t"}}, nullptr, kRKPlain), kRKExpiredAuthToken);
  EXPECT_THAT(Methods(), ElementsAre(kCall));
}

TEST_F(SendTest, AnswersOfEveryKindAndNoFileLeftBehind) {
  ScriptedAnswer refused = http::test::OkAnswer("<rsp status=\"ok\"/>");
  refused.pragma = "status=ERROR;errorcode=27";
  const char* kBadType = "Bad content type retrieved from server";
  struct Case {
    const char* name;
    ScriptedAnswer answer;
    const char* raised;  // "(nothing)": `code` returned
    std::int32_t code;
  } cases[] = {
      {"not found is not parsed", Body("<rsp status=\"ok\"><x/></rsp>", "text/xml", 404), "(nothing)", 37},
      {"other statuses are parsed", Body("<rsp status=\"err\"><e type=\"RequestException\"/></rsp>", "text/xml", 500),
       "(nothing)", 38},
      {"text/xml inside", Body("<rsp status=\"ok\"/>", "application/text/xml+x"), "(nothing)", 0},
      {"upper case", Body("<rsp status=\"ok\"/>", "TEXT/XML"), kBadType, 0},
      {"empty body", Body(""), "No data retrieved from server", 0},
      {"reply protocol error", refused, "No data retrieved from server", 0},
      {"malformed", Body("<rsp status=\"ok\">"), "Parsing error loading file (1)", 0},
      {"parser refuses", Body("<rsp status=\"ok\"><x/></rsp>"), "Bad tag", 0},
  };
  for (const Case& c : cases) {
    server_.Answer(kCall, c.answer);
    RefusingParser parser;
    const CLastErr* raisedOn = nullptr;
    std::int32_t code = -1;
    EXPECT_EQ(Raised([&] { code = Client().Send(kCall, {}, &parser, kRKPlain); }, &raisedOn), c.raised) << c.name;
    // Raised on the group itself: the parsers are gone when the caller reads it.
    EXPECT_TRUE(std::string(c.raised) == "(nothing)" ? code == c.code : raisedOn == &Client()) << c.name << ": " << code;
    EXPECT_THAT(TemporaryFiles(), IsEmpty()) << c.name;
    server_.Reset();
  }
  // An unscripted method gets the server's plain-text 404.
  EXPECT_EQ(Client().Send("Nobody.Home", {}, nullptr, kRKPlain), kRKRecordNotFound);
}

// Plain values are escaped only where they would break the query; the
// encrypted modes carry the query as one parameter of letters, digits and
// escapes. (GoogleTest's regular expressions on Windows have no brackets.)
TEST_F(SendTest, ValuesAreEncodedOnlyWhereTheyWouldBreakTheQuery) {
  AnswerOk(kCall, "");
  const std::string plain = "Abc-09_.~/:@!$'()*,;";
  const CRKParameterList parameters = {{"authToken", plain},
                                       {"name", "a b&c=d+e%f#g"},
                                       {"ctl", std::string("\t\r\n\x7f", 4)},
                                       UrlEncodedParameter("query", "x y")};
  EXPECT_EQ(Client().Send(kCall, parameters, nullptr, kRKPlain), kRKSuccess);
  EXPECT_EQ(Client().Send(kCall, {{"a", "1&2"}, {"b", ""}}, nullptr, kRKEncryptedDeviceInfo), kRKSuccess);
  EXPECT_EQ(Client().Send(kCall, {{"c", "x y"}}, nullptr, kRKEncryptedData), kRKSuccess);
  EXPECT_EQ(Client().Send(kCall, {{"d", "4"}}, nullptr, 7), kRKSuccess);
  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[0].verb + " " + requests[0].target,
            "GET /WebServices/Api/Rest/RestHandler.ashx?method=Test.Call&authToken=" + plain +
                "&name=a%20b%26c%3dd%2be%25f%23g&ctl=%09%0d%0a%7f&query=x%20y");
  for (std::size_t i = 1; i < 4; ++i) {
    const std::string query = RawQuery(requests[i]);
    const std::string prefix = std::string("method=Test.Call&encrypted") + (i == 1 ? "DeviceInfo" : "Data") + "=";
    EXPECT_TRUE(query.rfind(prefix, 0) == 0 && query.size() > prefix.size() &&
                query.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789%",
                                        prefix.size()) == std::string::npos)
        << query;
  }
  EXPECT_THAT(Sent(), ElementsAre("authToken=" + plain + "&name=a b&c=d+e%f#g&ctl=" + parameters[2].value + "&query=x y",
                                  "a=1&2&b=", "c=x y", "d=4"));
}

// Post data goes with its call and that call's repeat only, also when the
// call is refused before sending; the parser sees the repeat's answer.
TEST_F(SendTest, PostDataGoesWithItsCallAndItsRepeatOnly) {
  SignIn("t0");
  SetPayloadEncrypter([](std::string_view, std::string&) { return false; });
  Client().SetPostData("<doc/>");
  const CLastErr* raisedOn = nullptr;
  EXPECT_EQ(Raised([&] { Client().Send(kCall, {{"password", "p"}}, nullptr, kRKEncryptedData); }, &raisedOn),
            "Cannot encrypt request parameters");
  EXPECT_EQ(raisedOn, static_cast<const CLastErr*>(&Client()));
  EXPECT_THAT(Requests(), IsEmpty());
  SetPayloadEncrypter(nullptr);
  AnswerOk("Test.Other", "");
  EXPECT_EQ(Client().Send("Test.Other", {}, nullptr, kRKPlain), kRKSuccess);

  AnswerError(kCall, kExpired);
  AnswerOk(kCall, "<AuthToken>payload</AuthToken>");
  AnswerOk("Account.Login", "<AuthToken>t1</AuthToken><UserID>1</UserID>");
  const std::string document = "<Trip name=\"a &amp; b\"/>";
  Client().SetPostData(document);
  CRKAuthToken parser;
  EXPECT_EQ(Client().Send(kCall, {{"authToken", "t0"}}, &parser, kRKPlain), kRKSuccess);
  EXPECT_EQ(parser.Token(), "payload");
  EXPECT_EQ(Client().Send(kCall, {}, nullptr, kRKPlain), kRKSuccess);
  std::vector<std::string> posted;
  for (const auto& request : Requests()) posted.push_back(request.verb + " " + request.body);
  EXPECT_THAT(posted, ElementsAre("GET ", "POST " + document, "GET ", "POST " + document, "GET "));
  EXPECT_THAT(TemporaryFiles(), IsEmpty());
}

TEST_F(SendTest, OnlyARegisteredAccountGroupIsAsked) {
  SignIn("t0");
  CRKAccountClass* first = &Account();
  {  // a group registers itself, and removes itself when it goes
    CRKAccountClass later;
    EXPECT_EQ(RegisteredExceptionHandler(), static_cast<IRKExceptionHandler*>(&later));
  }
  EXPECT_EQ(RegisteredExceptionHandler(), nullptr);
  AnswerError(kCall, "ExpiredAuthTokenException");
  EXPECT_EQ(Client().Send(kCall, {{"authToken", "t0"}}, nullptr, kRKPlain), kRKExpiredAuthToken);
  EXPECT_THAT(Methods(), ElementsAre(kCall));

  // An earlier handler stays when a later one is not the registered one.
  RegisterExceptionHandler(first);
  UnregisterExceptionHandler(nullptr);
  EXPECT_EQ(RegisteredExceptionHandler(), static_cast<IRKExceptionHandler*>(first));
}

TEST_F(SendTest, ConfigurationOfTheSession) {
  // One client's end leaves the session to the others; the last one closes it.
  AnswerOk(kCall, "");
  { const CRK other(server_.HostText(), "", false); }
  EXPECT_TRUE(ServiceSession().IsOpen());
  EXPECT_EQ(Client().Send(kCall, {}, nullptr, kRKPlain), kRKSuccess);
  auto second = std::make_unique<CRKAD>(server_.HostText(), "", false);
  client_.reset();
  EXPECT_EQ(second->Send(kCall, {}, nullptr, kRKPlain), kRKSuccess);
  second.reset();
  EXPECT_FALSE(ServiceSession().IsOpen());
}

std::int32_t Code(std::int32_t code) { return code; }
template <typename Result>
std::int32_t Code(const Result& result) {
  return result.code;
}

// A call of the group method `expression` on the client `c`.
#define CALL(expression) [&](CRKAD& c) { return Code(c.expression); }

TEST_F(SendTest, EveryMethodSendsItsKeysAndDocument) {
  const velinst::Account account{5, "A & B"};
  const Team team{4, "Crew"};
  const TeamMember member{7, "Leader"};
  const ResellerContact contact{3, "Bo"};
  const LiveTrackingPosition position{1.5, 2.5};
  const SetPasswordRequest password{"p&w"};
  struct Case {
    const char* method;
    std::function<std::int32_t(CRKAD&)> call;
    const char* parameters;  // decoded, after authToken=t
    std::string body;        // empty: a GET
  } cases[] = {
      {"Accounts.Get", CALL(Accounts().Get("t")), "", ""},
      {"Accounts.GetByProductId", CALL(Accounts().GetByProductId("t", "P-1")), "&productId=P-1", ""},
      {"Accounts.Create", CALL(Accounts().Create("t", 1, "P", "SKU", account)), "&users=1&productId=P&sku=SKU",
       account.ToXml()},
      {"Accounts.Remove", CALL(Accounts().Remove("t", -5)), "&id=-5", ""},
      {"AccountUsers.Transfer", CALL(AccountUsers().Transfer("t", 7, 5)), "&userId=7&accountId=5", ""},
      {"AccountUsers.SetPassword", CALL(AccountUsers().SetPassword("t", 7, password)), "&userId=7", password.ToXml()},
      {"Roles.Add", CALL(Roles().Add("t", 7, "AccountAdmin")), "&userId=7&role=AccountAdmin", ""},
      {"Privileges.Add", CALL(Privileges().Add("t", 7, "Edit")), "&userId=7&privilege=Edit", "\n"},
      {"Teams.Add", CALL(Teams().Add("t", 5, team)), "&accountId=5", team.ToXml()},
      {"TeamMembers.Update", CALL(TeamMembers().Update("t", 7, member)), "&userId=7", member.ToXml()},
      {"TeamMembers.Remove", CALL(TeamMembers().Remove("t", 4, 7)), "&teamId=4&userId=7", ""},
      {"Authz.GetFeatures", CALL(Authorization().GetFeatures("t", 5, "maps")), "&accountId=5&component=maps", ""},
      {"LiveTracking.Get", CALL(LiveTracking().Get("t", 4, std::nullopt)), "&teamId=4", ""},
      {"LiveTracking.Get", CALL(LiveTracking().Get("t", std::nullopt, std::vector<std::int32_t>{3, 7, 12})),
       "&userId=3,7,12", ""},
      {"LiveTracking.Get", CALL(LiveTracking().Get("t", 4, std::vector<std::int32_t>{})), "&teamId=4&userId=", ""},
      {"LiveTracking.Update", CALL(LiveTracking().Update("t", position)), "", position.ToXml()},
      {"TeamTrips.Add", CALL(TeamTrips().Add("t", 4, 8)), "&teamId=4&tripId=8", "\n"},
      {"Resellers.Get", CALL(Resellers().Get()), nullptr, ""},
      {"Resellers.GetById", CALL(Resellers().GetById(9)), "id=9", ""},
      {"ResellerContacts.Get", CALL(ResellerContacts().Get(9)), "resellerId=9", ""},
      {"ResellerContacts.Add", CALL(ResellerContacts().Add("t", 9, contact)), "&resellerId=9", contact.ToXml()},
      {"S3.GetTemporaryCredentials", CALL(S3().GetTemporaryCredentials("t")), "", ""},
  };
  for (const Case& c : cases) {
    server_.Reset();
    AnswerOk(c.method, "");
    EXPECT_EQ(c.call(Client()), 0) << c.method;
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u) << c.method;
    const std::string parameters = c.parameters == nullptr ? "" : c.parameters;
    const bool afterToken = c.parameters != nullptr && (parameters.empty() || parameters[0] == '&');
    EXPECT_EQ(requests[0].verb + " " + Methods()[0] + "?" + Sent()[0] + " " + requests[0].body,
              std::string(c.body.empty() ? "GET " : "POST ") + c.method + "?" + (afterToken ? "authToken=t" : "") +
                  parameters + " " + c.body);
  }
  EXPECT_THAT(TemporaryFiles(), IsEmpty());
}

#undef CALL

// Live tracking without a team or users sends nothing.
TEST_F(SendTest, AnswersBecomeRecordsAndErrorsEmptyResults) {
  const CRKADResult<std::string> nobody = Client().LiveTracking().Get("t", std::nullopt, std::nullopt);
  EXPECT_EQ(std::make_pair(nobody.code, nobody.value), std::make_pair(33, std::string()));
  EXPECT_THAT(Requests(), IsEmpty());
  AnswerError("AccountUsers.Get", "RecordNotFoundException");
  const auto failed = Client().AccountUsers().Get("t", 5);
  EXPECT_EQ(std::make_pair(failed.code, failed.value.size()), std::make_pair(37, std::size_t{0}));
}

}  // namespace
}  // namespace velinst::test
