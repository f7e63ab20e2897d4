// Send over HTTP against the scripted test server: the platform's real
// transport and XML parser.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "service_fixture.h"
#include "webclient/account_parsers.h"
#include "webclient/account_session.h"
#include "webclient/result_code.h"

namespace velinst::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testserver::ScriptedAnswer;

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

class SendTest : public ServiceTest {
 protected:
  // Signs in through the Account group so that saved credentials exist.
  void SignIn(const std::string& token) {
    AnswerOk("Account.Login", "<AuthToken>" + token + "</AuthToken><UserID>1</UserID>");
    ASSERT_EQ(Account().Login("user", "pass", "", "", "app", "", "", "", "", "", nullptr, nullptr, nullptr).code,
              kRKSuccess);
    server_.Reset();
  }
};

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
      {"server error", Body("<rsp status=\"err\"><e type=\"HalvardException\"/></rsp>"), "(nothing)", 41},
      {"text/xml with more", Body("<rsp status=\"ok\"/>", "text/xml; charset=utf-8"), "(nothing)", 0},
      {"text/xml inside", Body("<rsp status=\"ok\"/>", "application/text/xml+x"), "(nothing)", 0},
      {"upper case", Body("<rsp status=\"ok\"/>", "TEXT/XML"), kBadType, 0},
      {"text/plain", Body("<rsp status=\"ok\"/>", "text/plain"), kBadType, 0},
      {"empty body", Body(""), "No data retrieved from server", 0},
      {"reply protocol error", refused, "No data retrieved from server", 0},
      {"malformed", Body("<rsp status=\"ok\">"), "Parsing error loading file (1)", 0},
      {"parser refuses", Body("<rsp status=\"ok\"><x/></rsp>"), "Bad tag", 0},
  };
  for (const Case& c : cases) {
    Answer(kCall, c.answer);
    RefusingParser parser;
    const CLastErr* raisedOn = nullptr;
    std::int32_t code = -1;
    EXPECT_EQ(Raised([&] { code = Client().Send(kCall, {}, &parser, kRKPlain); }, &raisedOn), c.raised) << c.name;
    if (std::string(c.raised) == "(nothing)") {
      EXPECT_EQ(code, c.code) << c.name;
    } else {
      // Raised on the group itself: the parsers are gone when the caller reads it.
      EXPECT_EQ(raisedOn, static_cast<const CLastErr*>(&Client())) << c.name;
    }
    EXPECT_THAT(TemporaryFiles(), IsEmpty()) << c.name;
    server_.Reset();
  }
  // An unscripted method gets the server's plain-text 404.
  EXPECT_EQ(Client().Send("Nobody.Home", {}, nullptr, kRKPlain), kRKRecordNotFound);
}

TEST_F(SendTest, ValuesAreEncodedOnlyWhereTheyWouldBreakTheQuery) {
  AnswerOk(kCall, "");
  const std::string plain = "Abc-09_.~/:@!$'()*,;";
  EXPECT_EQ(Client().Send(kCall,
                          {{"authToken", plain},
                           {"name", "a b&c=d+e%f#g"},
                           {"ctl", std::string("\t\r\n\x7f", 4)},
                           UrlEncodedParameter("query", "x y")},
                          nullptr, kRKPlain),
            kRKSuccess);
  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].verb + " " + requests[0].target,
            "GET /WebServices/Api/Rest/RestHandler.ashx?method=Test.Call&authToken=" + plain +
                "&name=a%20b%26c%3dd%2be%25f%23g&ctl=%09%0d%0a%7f&query=x%20y");
}

TEST_F(SendTest, EncryptedModesCarryTheEncodedQuery) {
  AnswerOk(kCall, "");
  EXPECT_EQ(Client().Send(kCall, {{"a", "1&2"}, {"b", ""}}, nullptr, kRKEncryptedDeviceInfo), kRKSuccess);
  EXPECT_EQ(Client().Send(kCall, {{"c", "x y"}}, nullptr, kRKEncryptedData), kRKSuccess);
  EXPECT_EQ(Client().Send(kCall, {{"d", "4"}}, nullptr, 7), kRKSuccess);
  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 3u);
  // One parameter of letters, digits and escapes each.
  // (GoogleTest's regular expressions on Windows have no brackets.)
  for (std::size_t i = 0; i < 3; ++i) {
    const std::string query = RawQuery(requests[i]);
    const std::string prefix = std::string("method=Test.Call&encrypted") + (i == 0 ? "DeviceInfo" : "Data") + "=";
    EXPECT_TRUE(query.rfind(prefix, 0) == 0 && query.size() > prefix.size() &&
                query.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789%",
                                        prefix.size()) == std::string::npos)
        << query;
  }
  EXPECT_THAT(Sent(), ElementsAre("a=1&2&b=", "c=x y", "d=4"));
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
  // An agent goes with a given host only, even an empty one.
  AnswerOk(kCall, "");
  client_.reset();
  client_ = std::make_unique<CRK>(server_.HostText(), "Agent/1.0", false);
  EXPECT_EQ(Client().Send(kCall, {}, nullptr, kRKPlain), kRKSuccess);
  ASSERT_TRUE(Client().Reconnect(server_.HostText(), "", false));
  EXPECT_EQ(Client().Send(kCall, {}, nullptr, kRKPlain), kRKSuccess);
  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].Header("User-Agent") + "|" + requests[1].Header("User-Agent"), "Agent/1.0|");

  // One client's end leaves the session to the others; the last one closes it.
  { const CRK other(server_.HostText(), "", false); }
  EXPECT_TRUE(ServiceSession().IsOpen());
  EXPECT_EQ(Client().Send(kCall, {}, nullptr, kRKPlain), kRKSuccess);
  auto second = std::make_unique<CRK>(server_.HostText(), "", false);
  client_.reset();
  EXPECT_EQ(second->Send(kCall, {}, nullptr, kRKPlain), kRKSuccess);
  second.reset();
  EXPECT_FALSE(ServiceSession().IsOpen());
  client_ = std::make_unique<CRK>(server_.HostText(), "", false);
}

}  // namespace
}  // namespace velinst::test
