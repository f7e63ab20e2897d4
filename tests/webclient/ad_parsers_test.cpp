// The administrative answer parsers as the envelope drives them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "document_test_support.h"
#include "webclient/ad_account_records.h"
#include "webclient/ad_parsers.h"
#include "webclient/ad_value_records.h"

namespace velinst::test {
namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using ::testing::Field;
using ::testing::IsEmpty;

using AdParsersTest = AnswerDocumentTest;

constexpr const char* kAnn = "<Account><Id>1</Id><Name>Ann</Name></Account>";
constexpr const char* kBo = "<account><ID>2</ID><name>Bo</name><Unknown>x</Unknown></account>";

TEST_F(AdParsersTest, ListReadsTheWrapperUpToTheFirstStranger) {
  struct Case {
    std::string answer;
    std::vector<std::int32_t> ids;
  } cases[] = {
      {std::string("<rsp status=\"ok\"><Accounts>") + kAnn + kBo + "</Accounts></rsp>", {1, 2}},
      {std::string("<rsp status=\"ok\"><Accounts>") + kAnn + "<Team/>" + kBo + "</Accounts></rsp>", {1}},
      {std::string("<rsp status=\"ok\"><Accounts><Team/>") + kAnn + "</Accounts></rsp>", {}},
      {"<rsp status=\"ok\"><Accounts/></rsp>", {}},
      // Every child of the answer is a wrapper of its own.
      {std::string("<rsp status=\"ok\"><A>") + kAnn + "</A><B>" + kBo + "</B></rsp>", {1, 2}},
      // A record straight inside the answer is a wrapper, not a record.
      {std::string("<rsp status=\"ok\">") + kAnn + "</rsp>", {}},
  };
  for (const Case& c : cases) {
    CRKADList<Account> parser;
    const Outcome outcome = Read(c.answer, &parser);
    EXPECT_EQ(outcome.raised, "") << c.answer;
    std::vector<std::int32_t> ids;
    for (const Account& account : parser.List()) ids.push_back(account.Id);
    EXPECT_EQ(ids, c.ids) << c.answer;
  }
  CRKADList<Account> parser;
  Read(std::string("<rsp status=\"ok\"><Accounts>") + kAnn + kBo + "</Accounts></rsp>", &parser);
  EXPECT_THAT(parser.List(), ElementsAre(Field(&Account::Name, "Ann"), Field(&Account::Name, "Bo")));
}

TEST_F(AdParsersTest, ListItemsMayCarryTheirFieldsAsAttributes) {
  CRKADList<IDPair> parser;
  Read(
      "<rsp status=\"ok\"><Pairs><IDPair Id=\"4\" Value=\"9\"/><idpair><id>5</id><value>1</value></idpair>"
      "</Pairs></rsp>",
      &parser);
  ASSERT_EQ(parser.List().size(), 2u);
  EXPECT_EQ(parser.List()[0], (IDPair{4, 9}));
  EXPECT_EQ(parser.List()[1], (IDPair{5, 1}));
}

TEST_F(AdParsersTest, StringItemsKeepTheirText) {
  CRKADList<String> parser;
  Read("<rsp status=\"ok\"><Roles><string>AccountAdmin</string><string>Viewer</string></Roles></rsp>", &parser);
  EXPECT_THAT(parser.List(), ElementsAre(Field(&String::Text, "AccountAdmin"), Field(&String::Text, "Viewer")));
}

TEST_F(AdParsersTest, RecordReadsOnlyAnElementOfTheAnswerItself) {
  {
    CRKADRecord<Account> parser;
    Read(std::string("<rsp status=\"ok\">") + kAnn + "</rsp>", &parser);
    EXPECT_TRUE(parser.IsFilled());
    EXPECT_EQ(parser.Record().Id, 1);
    EXPECT_EQ(parser.Record().Name, "Ann");
  }
  {
    CRKADRecord<Account> parser;
    Read(std::string("<rsp status=\"ok\"><Wrapper>") + kAnn + "</Wrapper></rsp>", &parser);
    EXPECT_FALSE(parser.IsFilled());
    EXPECT_EQ(parser.Record(), Account());
  }
  {
    // Attributes are not read; a second element overwrites what it names.
    CRKADRecord<Account> parser;
    Read(std::string("<rsp status=\"ok\"><Account Id=\"9\"><Id>1</Id><City>Bend</City></Account>") + kBo + "</rsp>",
         &parser);
    EXPECT_EQ(parser.Record().Id, 2);
    EXPECT_EQ(parser.Record().Name, "Bo");
    EXPECT_EQ(parser.Record().City, "Bend");
  }
}

TEST_F(AdParsersTest, GpxHackKeepsTheMarkup) {
  {
    CRKADGPXHack parser;
    Read("<gpx version=\"1.1\"><trk><name>a</name></trk></gpx>", &parser);
    EXPECT_THAT(parser.Markup(), StartsWith("<gpx version=\"1.1\">"));
    EXPECT_THAT(parser.Markup(), HasSubstr("<name>a</name>"));
    EXPECT_THAT(parser.Markup(), EndsWith("</gpx>"));
  }
  {
    CRKADGPXHack parser;
    Read("<rsp status=\"ok\"><first/><last>x</last></rsp>", &parser);
    EXPECT_EQ(parser.Markup(), "<last>x</last>");
  }
  {
    CRKADGPXHack parser;
    Read("<rsp status=\"ok\"/>", &parser);
    EXPECT_THAT(parser.Markup(), IsEmpty());
  }
}

}  // namespace
}  // namespace velinst::test
