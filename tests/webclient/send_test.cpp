// Send over HTTP against the scripted test server: the platform's real
// transport and XML parser.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>

#include "service_fixture.h"
#include "webclient/account_parsers.h"
#include "webclient/account_session.h"
#include "webclient/result_code.h"

namespace velinst::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;
using testserver::ScriptedAnswer;

constexpr const char* kCall = "Test.Call";

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

// `query` is `prefix` and a non-empty text of letters, digits and '%'.
::testing::AssertionResult OneEncodedParameter(const std::string& query, const std::string& prefix) {
  if (query.compare(0, prefix.size(), prefix) != 0 || query.size() == prefix.size())
    return ::testing::AssertionFailure() << query;
  for (const char c : query.substr(prefix.size()))
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '%') return ::testing::AssertionFailure() << query;
  return ::testing::AssertionSuccess();
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

TEST_F(SendTest, TargetIsTheBasePathWithMethodAndParameters) {
  AnswerOk(kCall, "");
  EXPECT_EQ(Client().Send(kCall, {{"a", "1"}, {"b", ""}}, nullptr, kRKPlain), kRKSuccess);
  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].verb, "GET");
  EXPECT_EQ(requests[0].target, "/WebServices/Api/Rest/RestHandler.ashx?method=Test.Call&a=1&b=");
}

TEST_F(SendTest, RepeatAfterSignInCarriesTheNewTokenFirst) {
  SignIn("old-token");
  AnswerError(kCall, "ExpiredAuthTokenException");
  AnswerOk(kCall, "<AuthToken>payload</AuthToken>");
  AnswerOk("Account.Login", "<AuthToken>new-token</AuthToken><UserID>1</UserID>");
  CRKAuthToken parser;
  EXPECT_EQ(Client().Send(kCall, {{"authToken", "old-token"}, {"x", "1"}}, &parser, kRKPlain), kRKSuccess);
  EXPECT_EQ(parser.Token(), "payload");
  EXPECT_EQ(CurrentAuthToken(), "new-token");

  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_THAT(Parameters(requests[0]), ElementsAre(Pair("authToken", "old-token"), Pair("x", "1")));
  EXPECT_THAT(Parameters(requests[1]), ::testing::Contains(Pair("username", "user")));
  EXPECT_THAT(Parameters(requests[2]), ElementsAre(Pair("authToken", "new-token"), Pair("x", "1")));
  EXPECT_THAT(TemporaryFiles(), IsEmpty());
}

TEST_F(SendTest, RepeatKeepsTheOldValuesWithoutALeadingToken) {
  SignIn("old-token");
  AnswerError(kCall, "ExpiredAuthTokenException");
  AnswerOk(kCall, "");
  AnswerOk("Account.Login", "<AuthToken>new-token</AuthToken><UserID>1</UserID>");
  EXPECT_EQ(Client().Send(kCall, {{"x", "1"}, {"authToken", "old-token"}}, nullptr, kRKPlain), kRKSuccess);
  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_THAT(Parameters(requests[2]), ElementsAre(Pair("x", "1"), Pair("authToken", "old-token")));
}

TEST_F(SendTest, CallIsRepeatedOnlyOnce) {
  SignIn("t0");
  AnswerError(kCall, "ExpiredAuthTokenException");  // for every request
  AnswerOk("Account.Login", "<AuthToken>t1</AuthToken><UserID>1</UserID>");
  EXPECT_EQ(Client().Send(kCall, {{"authToken", "t0"}}, nullptr, kRKPlain), kRKExpiredAuthToken);
  EXPECT_THAT(Methods(), ElementsAre(kCall, "Account.Login", kCall));
  EXPECT_THAT(TemporaryFiles(), IsEmpty());
}

TEST_F(SendTest, SignInThatExpiresToo) {
  // The sign-in's own expired answer starts no second sign-in.
  SignIn("t0");
  AnswerError(kCall, "ExpiredAuthTokenException");
  AnswerError("Account.Login", "ExpiredAuthTokenException");
  EXPECT_EQ(Client().Send(kCall, {{"authToken", "t0"}}, nullptr, kRKPlain), kRKExpiredAuthToken);
  EXPECT_THAT(Methods(), ElementsAre(kCall, "Account.Login"));
  EXPECT_EQ(CurrentAuthToken(), "t0");
}

TEST_F(SendTest, OtherServerErrorsAreReturnedWithoutSignIn) {
  SignIn("t0");
  AnswerError(kCall, "NotAuthorizedException");
  EXPECT_EQ(Client().Send(kCall, {{"authToken", "t0"}}, nullptr, kRKPlain), 32);
  EXPECT_THAT(Methods(), ElementsAre(kCall));
}

TEST_F(SendTest, NotFoundIsCode37WithoutParsing) {
  RefusingParser parser;
  Answer(kCall, Body("<rsp status=\"ok\"><x/></rsp>", "text/xml", 404));
  EXPECT_EQ(Client().Send(kCall, {}, &parser, kRKPlain), kRKRecordNotFound);
  // An unscripted method gets the server's plain-text 404.
  EXPECT_EQ(Client().Send("Nobody.Home", {}, &parser, kRKPlain), kRKRecordNotFound);
  EXPECT_THAT(TemporaryFiles(), IsEmpty());
}

TEST_F(SendTest, StatusOtherThan404IsParsed) {
  Answer(kCall, Body("<rsp status=\"err\"><e type=\"RequestException\"/></rsp>", "text/xml", 500));
  EXPECT_EQ(Client().Send(kCall, {}, nullptr, kRKPlain), 38);
}

TEST_F(SendTest, ContentTypeMustContainTextXml) {
  struct Case {
    const char* type;
    bool accepted;
  } cases[] = {{"text/xml", true},
               {"text/xml; charset=utf-8", true},
               {"application/text/xml+x", true},
               {"application/xml", false},
               {"TEXT/XML", false},
               {"text/html", false},
               {"text/x-xml", false}};
  for (const Case& c : cases) {
    Answer(kCall, Body("<rsp status=\"ok\"/>", c.type));
    const std::string raised = Raised([&] { Client().Send(kCall, {}, nullptr, kRKPlain); });
    EXPECT_EQ(raised, c.accepted ? "(nothing)" : "Bad content type retrieved from server") << c.type;
    server_.Reset();
  }
  EXPECT_THAT(TemporaryFiles(), IsEmpty());
}

TEST_F(SendTest, FailuresRaiseOnTheGroupAndLeaveNoFileBehind) {
  ScriptedAnswer refused = http::test::OkAnswer("<rsp status=\"ok\"/>");
  refused.pragma = "status=ERROR;errorcode=27";
  struct Case {
    const char* name;
    ScriptedAnswer answer;
    const char* raised;
  } cases[] = {
      {"empty body", Body(""), "No data retrieved from server"},
      {"reply protocol error", refused, "No data retrieved from server"},
      {"wrong content type", Body("<rsp status=\"ok\"/>", "text/plain"), "Bad content type retrieved from server"},
      {"malformed", Body("<rsp status=\"ok\">"), "Parsing error loading file (1)"},
      {"foreign root", Body("<html/>"), "Bad response"},
      {"no status", Body("<rsp/>"), "Bad Response status"},
      {"parser refuses", Body("<rsp status=\"ok\"><x/></rsp>"), "Bad tag"},
  };
  for (const Case& c : cases) {
    Answer(kCall, c.answer);
    RefusingParser parser;
    const CLastErr* raisedOn = nullptr;
    EXPECT_EQ(Raised([&] { Client().Send(kCall, {}, &parser, kRKPlain); }, &raisedOn), c.raised) << c.name;
    // Raised on the group itself: the parsers are gone when the caller reads it.
    EXPECT_EQ(raisedOn, static_cast<const CLastErr*>(&Client())) << c.name;
    EXPECT_THAT(TemporaryFiles(), IsEmpty()) << c.name;
    server_.Reset();
  }
}

TEST_F(SendTest, ServerAndSuccessLeaveNoFileBehind) {
  AnswerError(kCall, "HalvardException");
  EXPECT_EQ(Client().Send(kCall, {}, nullptr, kRKPlain), 41);
  AnswerOk("Other.Call", "<x/>");
  EXPECT_EQ(Client().Send("Other.Call", {}, nullptr, kRKPlain), kRKSuccess);
  EXPECT_THAT(TemporaryFiles(), IsEmpty());
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
  EXPECT_EQ(RawQuery(requests[0]),
            "method=Test.Call&authToken=" + plain + "&name=a%20b%26c%3dd%2be%25f%23g&ctl=%09%0d%0a%7f&query=x%20y");
  EXPECT_THAT(Parameters(requests[0]), ElementsAre(Pair("authToken", plain), Pair("name", "a b&c=d+e%f#g"),
                                                   Pair("ctl", "\t\r\n\x7f"), Pair("query", "x y")));
}

TEST_F(SendTest, EncryptedModesCarryTheEncodedQuery) {
  AnswerOk(kCall, "");
  EXPECT_EQ(Client().Send(kCall, {{"a", "1&2"}, {"b", ""}}, nullptr, kRKEncryptedDeviceInfo), kRKSuccess);
  EXPECT_EQ(Client().Send(kCall, {{"c", "x y"}}, nullptr, kRKEncryptedData), kRKSuccess);
  EXPECT_EQ(Client().Send(kCall, {{"d", "4"}}, nullptr, 7), kRKSuccess);
  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_TRUE(OneEncodedParameter(RawQuery(requests[0]), "method=Test.Call&encryptedDeviceInfo="));
  EXPECT_TRUE(OneEncodedParameter(RawQuery(requests[1]), "method=Test.Call&encryptedData="));
  EXPECT_TRUE(OneEncodedParameter(RawQuery(requests[2]), "method=Test.Call&encryptedData="));
  EXPECT_THAT(Parameters(requests[0]), ElementsAre(Pair("a", "1&2"), Pair("b", "")));
  EXPECT_THAT(Parameters(requests[1]), ElementsAre(Pair("c", "x y")));
  EXPECT_THAT(Parameters(requests[2]), ElementsAre(Pair("d", "4")));
}

TEST_F(SendTest, UnencryptableParametersAreNotSent) {
  SetPayloadEncrypter([](std::string_view, std::string&) { return false; });
  const std::string document = "<doc/>";
  Client().SetPostData(document);
  const CLastErr* raisedOn = nullptr;
  EXPECT_EQ(Raised(
                [&] {
                  Client().Send(kCall, {{"password", "p"}}, nullptr, kRKEncryptedData);
                },
                &raisedOn),
            "Cannot encrypt request parameters");
  EXPECT_EQ(raisedOn, static_cast<const CLastErr*>(&Client()));
  EXPECT_THAT(Requests(), IsEmpty());
  EXPECT_THAT(TemporaryFiles(), IsEmpty());

  // The post data of the refused call does not go out with the next one.
  AnswerOk(kCall, "");
  EXPECT_EQ(Client().Send(kCall, {}, nullptr, kRKPlain), kRKSuccess);
  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].verb, "GET");
}

TEST_F(SendTest, PostedDocumentIsPostedAgainOnTheRepeat) {
  SignIn("t0");
  AnswerError(kCall, "ExpiredAuthTokenException");
  AnswerOk(kCall, "");
  AnswerOk("Account.Login", "<AuthToken>t1</AuthToken><UserID>1</UserID>");
  const std::string document = "<Trip name=\"a\"/>";
  Client().SetPostData(document);
  EXPECT_EQ(Client().Send(kCall, {{"authToken", "t0"}}, nullptr, kRKPlain), kRKSuccess);
  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].verb, "POST");
  EXPECT_EQ(requests[0].body, document);
  EXPECT_EQ(requests[1].verb, "GET");
  EXPECT_EQ(requests[2].verb, "POST");
  EXPECT_EQ(requests[2].body, document);
}

TEST_F(SendTest, DestroyedAccountGroupIsNoLongerAsked) {
  SignIn("t0");
  {
    CRKAccountClass later;  // registers itself, and removes itself when it goes
    EXPECT_EQ(RegisteredExceptionHandler(), static_cast<IRKExceptionHandler*>(&later));
  }
  EXPECT_EQ(RegisteredExceptionHandler(), nullptr);
  AnswerError(kCall, "ExpiredAuthTokenException");
  EXPECT_EQ(Client().Send(kCall, {{"authToken", "t0"}}, nullptr, kRKPlain), kRKExpiredAuthToken);
  EXPECT_THAT(Methods(), ElementsAre(kCall));
}

TEST_F(SendTest, AnEarlierHandlerStaysWhenALaterOneIsNotRegistered) {
  CRKAccountClass* first = &Account();
  ASSERT_EQ(RegisteredExceptionHandler(), static_cast<IRKExceptionHandler*>(first));
  RegisterExceptionHandler(nullptr);
  { CRKAccountClass other; }
  EXPECT_EQ(RegisteredExceptionHandler(), nullptr);
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
  EXPECT_EQ(requests[0].Header("User-Agent"), "Agent/1.0");
  EXPECT_EQ(requests[1].Header("User-Agent"), "");
  EXPECT_EQ(ServiceSession().GetAgent(), "");

  // The destructor closes the process-wide session.
  client_.reset();
  EXPECT_FALSE(ServiceSession().IsOpen());
  client_ = std::make_unique<CRK>(server_.HostText(), "", false);
}

TEST_F(SendTest, OneClientsEndLeavesTheSessionToTheOthers) {
  AnswerOk(kCall, "");
  {
    const CRK other(server_.HostText(), "", false);
  }
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
