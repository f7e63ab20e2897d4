// The administrative records: their request documents byte for byte, how
// answer texts fill their fields, and the parsers that read them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "document_test_support.h"
#include "webclient/ad_account_records.h"
#include "webclient/ad_parsers.h"
#include "webclient/ad_reseller_records.h"
#include "webclient/ad_team_records.h"
#include "webclient/ad_value_records.h"

// Records are written with their first fields only; the others keep their
// defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace velinst::test {
namespace {

// The layouts the service reads: an id in a comment, numbers in fixed form.
TEST(AdRecordDocuments, IdsAndNumbers) {
  EXPECT_EQ((Team{std::numeric_limits<std::int32_t>::min(), "Crew"}.ToXml()),
            "<Team>\n  <!-- <Id>-2147483648</Id> -->\n  <Name>Crew</Name>\n</Team>\n");
  EXPECT_EQ(LiveTrackingPosition({47.5, -8.25, 1200, "2026-12-06T10:00:00Z", "hi", "text", ""}).ToXml(),
            "<LiveTrackingPosition>\n  <Lat>47.500000</Lat>\n  <Lon>-8.250000</Lon>\n  <Ele>1200.000000</Ele>\n"
            "  <DeviceTimeUtc>2026-12-06T10:00:00Z</DeviceTimeUtc>\n  <Message>hi</Message>\n"
            "  <MessageType>text</MessageType>\n  <Properties></Properties>\n</LiveTrackingPosition>\n");
}

TEST(AdRecordFields, NamesInAnyCaseAndTheTextsAsTheyConvert) {
  AccountUser user;
  std::string known;
  for (const auto& [name, value] : std::initializer_list<std::pair<const char*, const char*>>{
           {"ID", "42abc"}, {"firstname", " Ann "}, {"receivenewsletter", "TRUE"}, {"ReceiveUpdates", "1"},
           {"Nickname", "x"}, {"", "x"}, {"Id2", "9"}})
    known += user.SetField(name, value) ? '1' : '0';
  EXPECT_EQ(known, "1111000");
  EXPECT_EQ(user, (AccountUser{42, " Ann ", "", "", "", "", true, false}));

  for (const auto& [text, integer] : std::initializer_list<std::pair<const char*, std::int32_t>>{
           {"", 0}, {"x1", 0}, {"  -17", -17}, {"+5", 5}, {"99999999999", INT32_MAX}, {"-99999999999", INT32_MIN}}) {
    IDPair pair;
    pair.SetField("Value", text);
    EXPECT_EQ(pair.Value, integer) << text;
  }

  Reseller reseller;
  EXPECT_TRUE(reseller.SetField("lat", "47.1xyz"));
  EXPECT_FLOAT_EQ(reseller.Lat, 47.1f);
  EXPECT_TRUE(reseller.SetField("Lon", "north"));
  EXPECT_EQ(reseller.Lon, 0.0f);
  // A real beyond float's range must not be narrowed undefined.
  EXPECT_TRUE(reseller.SetField("Lat", "1e300"));
  EXPECT_TRUE(reseller.SetField("Lon", "-1e300"));
  EXPECT_TRUE(std::isinf(reseller.Lat) && reseller.Lat > 0 && std::isinf(reseller.Lon) && reseller.Lon < 0);
}

using ::testing::ElementsAre;

using AdParsersTest = AnswerDocumentTest;

constexpr const char* kAnn = "<Account><Id>1</Id><Name>Ann</Name></Account>";
constexpr const char* kBo = "<account><ID>2</ID><name>Bo</name><Unknown>x</Unknown></account>";

TEST_F(AdParsersTest, ListReadsTheWrapperUpToTheFirstStranger) {
  struct Case {
    std::string answer;
    std::vector<std::int32_t> ids;
  } cases[] = {
      {Ok(std::string("<Accounts>") + kAnn + kBo + "</Accounts>"), {1, 2}},
      {Ok(std::string("<Accounts>") + kAnn + "<Team/>" + kBo + "</Accounts>"), {1}},
      {Ok(std::string("<Accounts><Team/>") + kAnn + "</Accounts>"), {}},
      // Every child of the answer is a wrapper of its own.
      {Ok(std::string("<A>") + kAnn + "</A><B>" + kBo + "</B>"), {1, 2}},
      // A record straight inside the answer is a wrapper, not a record.
      {Ok(kAnn), {}},
  };
  for (const Case& c : cases) {
    CRKADList<Account> parser;
    EXPECT_EQ(Read(c.answer, &parser).raised, "") << c.answer;
    std::vector<std::int32_t> ids;
    for (const Account& account : parser.List()) ids.push_back(account.Id);
    EXPECT_EQ(ids, c.ids) << c.answer;
    EXPECT_TRUE(c.ids.size() != 2 || parser.List() == std::vector<Account>({{1, "Ann"}, {2, "Bo"}})) << c.answer;
  }

  // Items may carry their fields as attributes; strings keep their text.
  CRKADList<IDPair> pairs;
  Read(Ok("<Pairs><IDPair Id=\"4\" Value=\"9\"/><idpair><id>5</id><value>1</value></idpair></Pairs>"), &pairs);
  EXPECT_THAT(pairs.List(), ElementsAre(IDPair{4, 9}, IDPair{5, 1}));
  CRKADList<String> roles;
  Read(Ok("<Roles><string>AccountAdmin</string><string>Viewer</string></Roles>"), &roles);
  EXPECT_THAT(roles.List(), ElementsAre(String{"AccountAdmin"}, String{"Viewer"}));
}

}  // namespace
}  // namespace velinst::test
