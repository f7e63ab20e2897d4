#include "webclient/account_parsers.h"

#include <gtest/gtest.h>

#include "document_test_support.h"

namespace velinst::test {
namespace {

using AccountParsersTest = AnswerDocumentTest;

TEST_F(AccountParsersTest, ExistsTexts) {
  struct Case {
    const char* elements;
    bool exists;
    bool filled;
    const char* raised;
  } cases[] = {
      {"<Exists>True</Exists>", true, true, ""},
      {"<exists>true</exists>", true, true, ""},
      {"<EXISTS>FALSE</EXISTS>", false, true, ""},
      {"<Other>True</Other>", false, false, ""},
      {"", false, false, ""},
      {"<Exists>yes</Exists>", false, false, "Illegal Exists value"},
      {"<Exists/>", false, false, "Illegal Exists value"},
  };
  for (const Case& c : cases) {
    CRKExists parser;
    const Outcome outcome = Read(std::string("<rsp status=\"ok\">") + c.elements + "</rsp>", &parser);
    EXPECT_EQ(outcome.raised, c.raised) << c.elements;
    EXPECT_EQ(parser.Exists(), c.exists) << c.elements;
    EXPECT_EQ(parser.IsFilled(), c.filled) << c.elements;
  }
}

TEST_F(AccountParsersTest, TokenAndTimeStamp) {
  CRKAuthToken token;
  Read("<rsp status=\"ok\"><Other>x</Other><authtoken>abc-123</authtoken></rsp>", &token);
  EXPECT_TRUE(token.IsFilled());
  EXPECT_EQ(token.Token(), "abc-123");

  CRKCurrentTimeStamp stamp;
  Read("<rsp status=\"ok\"><CurrentTimeStamp>2024-05-06T07:08:09.123Z</CurrentTimeStamp></rsp>", &stamp);
  EXPECT_TRUE(stamp.IsFilled());
  EXPECT_EQ(stamp.TimeStamp(), "2024-05-06T07:08:09.123Z");

  CRKAuthToken missing;
  Read("<rsp status=\"ok\"><CurrentTimeStamp>x</CurrentTimeStamp></rsp>", &missing);
  EXPECT_FALSE(missing.IsFilled());
  EXPECT_EQ(missing.Token(), "");
}

TEST_F(AccountParsersTest, LoginIsFilledByTokenAndUserId) {
  CRKLogin full;
  Read(
      "<rsp status=\"ok\"><AuthToken>T</AuthToken><Weight>72.5kg</Weight><Units>metric</Units>"
      "<UserID> 42x</UserID></rsp>",
      &full);
  EXPECT_TRUE(full.IsFilled());
  EXPECT_EQ(full.Token(), "T");
  EXPECT_EQ(full.Weight(), 72.5);
  EXPECT_EQ(full.Units(), "metric");
  EXPECT_EQ(full.UserId(), 42);

  // Weight and Units do not count towards filled.
  CRKLogin noUser;
  Read("<rsp status=\"ok\"><AuthToken>T</AuthToken><Weight>80</Weight><Units>u</Units></rsp>", &noUser);
  EXPECT_FALSE(noUser.IsFilled());
  EXPECT_EQ(noUser.Token(), "T");
  EXPECT_EQ(noUser.Weight(), 80.0);

  CRKLogin numbers;
  Read("<rsp status=\"ok\"><userid>99999999999</userid><weight>heavy</weight><USERID>-7</USERID></rsp>", &numbers);
  EXPECT_TRUE(numbers.IsFilled());
  EXPECT_EQ(numbers.UserId(), -7);
  EXPECT_EQ(numbers.Weight(), 0.0);
  EXPECT_EQ(numbers.Token(), "");
}

}  // namespace
}  // namespace velinst::test
