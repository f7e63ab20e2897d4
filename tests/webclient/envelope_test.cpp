#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document_test_support.h"
#include "platform/ascii_text.h"
#include "webclient/result_code.h"

namespace velinst::test {
namespace {

// Keeps the names of the nodes it is offered.
class RecordingParser : public IRKParser {
 public:
  void Parse(CXMLNodeCursor& cursor) override { offered.push_back(cursor.Name()); }
  std::vector<std::string> offered;
};

using EnvelopeTest = AnswerDocumentTest;

TEST_F(EnvelopeTest, StatusAttribute) {
  struct Case {
    const char* answer;
    const char* raised;  // empty: accepted
  } cases[] = {
      {"<rsp status=\"ok\"/>", ""},
      {"<rsp status=\"OK\"/>", ""},
      {"<RSP Status=\"Ok\"/>", ""},
      {"<rsp other=\"1\" status=\"ok\" more=\"2\"/>", ""},
      {"<rsp status=\"error\"/>", "Bad Response status"},
      {"<rsp status=\"\"/>", "Bad Response status"},
      {"<rsp/>", "Bad Response status"},
      {"<rsp stat=\"ok\"/>", "Bad Response status"},
      {"<response status=\"ok\"/>", "Bad response"},
      {"<rs status=\"ok\"/>", "Bad response"},
  };
  for (const Case& c : cases) {
    RecordingParser inner;
    const Outcome outcome = Read(c.answer, &inner);
    EXPECT_EQ(outcome.raised, c.raised) << c.answer;
    EXPECT_FALSE(outcome.serverErrorCode.has_value()) << c.answer;
  }
}

TEST_F(EnvelopeTest, ChildrenAreOfferedInOrderOnlyAfterAnOkStatus) {
  RecordingParser inner;
  Read("<rsp status=\"ok\"><A>1</A><b/>text<C x=\"1\"><D/></C></rsp>", &inner);
  EXPECT_EQ(inner.offered, (std::vector<std::string>{"A", "b", "#text", "C"}));

  RecordingParser none;
  EXPECT_EQ(Read("<rsp status=\"ok\"/>", &none).raised, "");
  EXPECT_TRUE(none.offered.empty());

  RecordingParser refused;
  Read("<rsp status=\"bad\"><A/></rsp>", &refused);
  EXPECT_TRUE(refused.offered.empty());

  EXPECT_EQ(Read("<rsp status=\"ok\"><A/></rsp>", nullptr).raised, "");
}

TEST_F(EnvelopeTest, GpxRootGoesToTheInnerParserWithoutStatus) {
  for (const char* answer : {"<gpx><trk/></gpx>", "<GPX status=\"err\"/>", "<Gpx/>"}) {
    RecordingParser inner;
    const Outcome outcome = Read(answer, &inner);
    EXPECT_EQ(outcome.raised, "") << answer;
    EXPECT_FALSE(outcome.serverErrorCode.has_value()) << answer;
    ASSERT_EQ(inner.offered.size(), 1u) << answer;
    EXPECT_TRUE(EqualIgnoringAsciiCase(inner.offered[0], "gpx"));
  }
  EXPECT_EQ(Read("<gpx/>", nullptr).raised, "");
}

TEST_F(EnvelopeTest, ServerErrorsMapToTheirCodes) {
  struct Case {
    const char* error;  // the first child of an error answer
    std::int32_t code;
  } cases[] = {
      {"<err type=\"TrailmarkEmailLoginException\" msg=\"m\"/>", 5},
      {"<err type=\"expiredauthtokenexception\"/>", kRKExpiredAuthToken},
      {"<err TYPE=\"INCORRECTPASSWORDEXCEPTION\"/>", 26},
      {"<err type=\"RecordNotFoundException\"/>", kRKRecordNotFound},
      {"<err type=\"UsernameFormatException\"/>", 42},
      {"<err type=\"ContentLengthMissmatchException\"/>", 10},
      {"<err type=\"ContentLengthMismatchException\"/>", kRKUnknownServerError},
      {"<err type=\"NoSuchException\"/>", kRKUnknownServerError},
      {"<err type=\"\"/>", kRKUnknownServerError},
      {"<err msg=\"no type\"/>", kRKUnknownServerError},
      {"", kRKUnknownServerError},
      {"just text", kRKUnknownServerError},
      // Only the first child describes the error.
      {"<note/><err type=\"HalvardException\"/>", kRKUnknownServerError},
  };
  for (const Case& c : cases) {
    RecordingParser inner;
    const Outcome outcome = Read(std::string("<rsp status=\"err\">") + c.error + "</rsp>", &inner);
    ASSERT_TRUE(outcome.serverErrorCode.has_value()) << c.error << " raised " << outcome.raised;
    EXPECT_EQ(*outcome.serverErrorCode, c.code) << c.error;
    EXPECT_TRUE(inner.offered.empty());
  }
}

TEST_F(EnvelopeTest, ErrorStatusEndsTheWalkAtOnce) {
  // An "ok" before "err" does not save the answer; one after it is not read.
  for (const char* answer : {"<rsp status=\"ok\" Status=\"ERR\"><e type=\"HalvardException\"/></rsp>",
                             "<rsp status=\"err\" status2=\"ok\"><e type=\"HalvardException\"/></rsp>"}) {
    const Outcome outcome = Read(answer, nullptr);
    ASSERT_TRUE(outcome.serverErrorCode.has_value()) << answer;
    EXPECT_EQ(*outcome.serverErrorCode, 41);
  }
}

TEST_F(EnvelopeTest, ErrorElementKeepsTypeAndMessage) {
  document_.LoadText("<e Type=\"DuplicateUsernameException\" MSG=\"taken\" other=\"x\"/>");
  CRKErr error;
  error.Parse(*document_.GetRoot());
  EXPECT_EQ(error.Type(), "DuplicateUsernameException");
  EXPECT_EQ(error.Message(), "taken");
  const CRKException exception(error);
  EXPECT_EQ(exception.Code(), 14);
  EXPECT_EQ(exception.Message(), "taken");
}

TEST(ServerErrorCode, EveryNamedTypeHasItsCode) {
  const char* names[] = {"TrailmarkEmailLoginException",   "TrailmarkPhoneNumberLoginException",
                         "TrailmarkUnknownLoginException", "AuthTokenIPAddressException",
                         "BrannockAccountException",       "ContentLengthMissmatchException",
                         "DuplicateDisplayNameException",  "DuplicateEmailAddressException",
                         "DuplicatePhoneNumberException",  "DuplicateUsernameException",
                         "DuplicateValueException",        "EmailAddressFormatException",
                         "ExpiredAuthTokenException"};
  std::int32_t code = 5;
  for (const char* name : names) EXPECT_EQ(ServerErrorCode(name), code++) << name;
  const char* later[] = {"IncorrectPasswordException", "InvalidAuthTokenException",  "InvalidCredentialsException",
                         "MediaToPoiException",        "MissingCapabilityException", "MissingParameterException",
                         "NotAuthorizedException",     "ParameterException",         "ParameterOutOfRangeException",
                         "PasswordFormatException",    "PhoneNumberFormatException", "RecordNotFoundException",
                         "RequestException",           "RequestTooLargeException",   "SearchAreaTooLargeException",
                         "HalvardException",           "UsernameFormatException"};
  code = 26;
  for (const char* name : later) EXPECT_EQ(ServerErrorCode(name), code++) << name;
  EXPECT_EQ(ServerErrorCode("Exception"), kRKUnknownServerError);
}

}  // namespace
}  // namespace velinst::test
