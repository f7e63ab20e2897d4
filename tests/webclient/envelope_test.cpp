#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "document_test_support.h"
#include "webclient/account_parsers.h"
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
using Names = std::vector<std::string>;

TEST_F(EnvelopeTest, StatusRootAndWhatTheInnerParserIsOffered) {
  struct Case {
    const char* answer;
    const char* raised;  // empty: accepted
    Names offered;
  } cases[] = {
      {"<rsp status=\"ok\"><A>1</A><b/>text<C x=\"1\"><D/></C></rsp>", "", {"A", "b", "#text", "C"}},
      {"<RSP Status=\"Ok\"/>", "", {}},
      {"<rsp other=\"1\" status=\"OK\" more=\"2\"><A/></rsp>", "", {"A"}},
      {"<rsp status=\"error\"><A/></rsp>", "Bad Response status", {}},
      {"<rsp stat=\"ok\"/>", "Bad Response status", {}},
      {"<response status=\"ok\"/>", "Bad response", {}},
      // A gpx root goes to the inner parser whole, whatever its status.
      {"<gpx><trk/></gpx>", "", {"gpx"}},
      {"<GPX status=\"err\"/>", "", {"GPX"}},
  };
  for (const Case& c : cases) {
    RecordingParser inner;
    const Outcome outcome = Read(c.answer, &inner);
    EXPECT_EQ(outcome.raised, c.raised) << c.answer;
    EXPECT_FALSE(outcome.serverErrorCode.has_value()) << c.answer;
    EXPECT_EQ(inner.offered, c.offered) << c.answer;
  }
  for (const char* answer : {"<rsp status=\"ok\"><A/></rsp>", "<gpx/>"})
    EXPECT_EQ(Read(answer, nullptr).raised, "") << answer;
}

TEST_F(EnvelopeTest, ServerErrorsMapToTheirCodes) {
  struct Case {
    std::string answer;
    std::int32_t code;
  } cases[] = {
      {"<rsp status=\"err\"><err type=\"TrailmarkEmailLoginException\" msg=\"m\"/></rsp>", 5},
      {"<rsp status=\"err\"><err type=\"expiredauthtokenexception\"/></rsp>", kRKExpiredAuthToken},
      {"<rsp status=\"err\"><err TYPE=\"INCORRECTPASSWORDEXCEPTION\"/></rsp>", 26},
      {"<rsp status=\"err\"><err type=\"RecordNotFoundException\"/></rsp>", kRKRecordNotFound},
      {"<rsp status=\"err\"><err type=\"UsernameFormatException\"/></rsp>", 42},
      {"<rsp status=\"err\"><err type=\"ContentLengthMissmatchException\"/></rsp>", 10},
      {"<rsp status=\"err\"><err type=\"ContentLengthMismatchException\"/></rsp>", kRKUnknownServerError},
      {"<rsp status=\"err\"><err type=\"Exception\"/></rsp>", kRKUnknownServerError},
      {"<rsp status=\"err\"><err msg=\"no type\"/></rsp>", kRKUnknownServerError},
      {"<rsp status=\"err\">just text</rsp>", kRKUnknownServerError},
      // Only the first child describes the error.
      {"<rsp status=\"err\"><note/><err type=\"HalvardException\"/></rsp>", kRKUnknownServerError},
      // An "ok" before "err" does not save the answer; one after it is not read.
      {"<rsp status=\"ok\" Status=\"ERR\"><e type=\"HalvardException\"/></rsp>", 41},
      {"<rsp status=\"err\" status2=\"ok\"><e type=\"HalvardException\"/></rsp>", 41},
  };
  for (const Case& c : cases) {
    RecordingParser inner;
    const Outcome outcome = Read(c.answer, &inner);
    EXPECT_EQ(outcome.serverErrorCode, std::optional<std::int32_t>(c.code)) << c.answer << " raised " << outcome.raised;
    EXPECT_TRUE(inner.offered.empty()) << c.answer;
  }
}

TEST_F(EnvelopeTest, ErrorElementKeepsTypeAndMessage) {
  document_.LoadText("<e Type=\"DuplicateUsernameException\" MSG=\"taken\" other=\"x\"/>");
  CRKErr error;
  error.Parse(*document_.GetRoot());
  EXPECT_EQ(error.Type(), "DuplicateUsernameException");
  const CRKException exception(error);
  EXPECT_EQ(exception.Code(), 14);
  EXPECT_EQ(exception.Message(), "taken");
}

TEST_F(EnvelopeTest, ExistsTexts) {
  struct Case {
    const char* elements;
    bool exists, filled;
    const char* raised;
  } cases[] = {
      {"<exists>true</exists>", true, true, ""},
      {"<EXISTS>FALSE</EXISTS>", false, true, ""},
      {"<Other>True</Other>", false, false, ""},
      {"<Exists>yes</Exists>", false, false, "Illegal Exists value"},
      {"<Exists/>", false, false, "Illegal Exists value"},
  };
  for (const Case& c : cases) {
    CRKExists parser;
    EXPECT_EQ(Read(Ok(c.elements), &parser).raised, c.raised) << c.elements;
    EXPECT_EQ(parser.Exists(), c.exists) << c.elements;
    EXPECT_EQ(parser.IsFilled(), c.filled) << c.elements;
  }
}

TEST_F(EnvelopeTest, TokenAndLogin) {
  CRKAuthToken token, missing;
  Read(Ok("<Other>x</Other><authtoken>abc-123</authtoken>"), &token);
  EXPECT_EQ(token.Token(), "abc-123");
  Read(Ok("<CurrentTimeStamp>x</CurrentTimeStamp>"), &missing);
  EXPECT_FALSE(missing.IsFilled());

  CRKLogin full;
  Read(Ok("<AuthToken>T</AuthToken><Weight>72.5kg</Weight><Units>metric</Units><UserID> 42x</UserID>"), &full);
  EXPECT_EQ(std::make_tuple(full.IsFilled(), full.Weight(), full.Units(), full.UserId()),
            std::make_tuple(true, 72.5, std::string("metric"), 42));
  // Weight and Units do not count towards filled.
  CRKLogin noUser;
  Read(Ok("<AuthToken>T</AuthToken><Weight>80</Weight><Units>u</Units>"), &noUser);
  EXPECT_FALSE(noUser.IsFilled());
  CRKLogin numbers;
  Read(Ok("<userid>99999999999</userid><weight>heavy</weight><USERID>-7</USERID>"), &numbers);
  EXPECT_EQ(std::make_tuple(numbers.IsFilled(), numbers.UserId(), numbers.Weight()), std::make_tuple(true, -7, 0.0));
}

}  // namespace
}  // namespace velinst::test
