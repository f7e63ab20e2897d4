// The administrative records: their request documents byte for byte, and
// how answer texts fill their fields.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "webclient/ad_account_records.h"
#include "webclient/ad_reseller_records.h"
#include "webclient/ad_team_records.h"
#include "webclient/ad_value_records.h"

namespace velinst::test {
namespace {

TEST(AdRecordDocuments, AreWrittenLineByLine) {
  Account account;
  account.Id = 5;
  account.Name = "Smith &amp; Sons";
  account.Address1 = "1 Main St";
  account.City = "Bend";
  account.State = "OR";
  account.Zip = "97701";
  account.ContactName = "Ann";
  account.ContactEmail = "ann@example.com";
  account.ContactPhone = "555-0100";

  AccountUser user;
  user.Id = 7;
  user.FirstName = "Ann";
  user.LastName = "Lee";
  user.UserName = "ann";
  user.Email = "ann@example.com";
  user.ReceiveUpdates = true;

  Reseller reseller;
  reseller.Id = 9;
  reseller.Name = "Maps";
  reseller.Website = "maps.example";
  reseller.Lat = 47.1f;
  reseller.Lon = -122.5f;
  reseller.Type = "dealer";

  ResellerContact contact;
  contact.Id = 3;
  contact.Name = "Bo";
  contact.Phone = "1";
  contact.Email = "bo@example.com";
  contact.Type = "sales";

  Team team;
  team.Id = 4;
  team.Name = "Crew";

  TeamMember member;
  member.UserId = 12;
  member.Role = "Leader";

  LiveTrackingPosition position;
  position.Lat = 47.5;
  position.Lon = -8.25;
  position.Ele = 1200;
  position.DeviceTimeUtc = "2026-12-06T10:00:00Z";
  position.Message = "hi";
  position.MessageType = "text";

  SetPasswordRequest password;
  password.Password = "p&amp;w";

  struct Case {
    std::string document;
    const char* expected;
  } cases[] = {
      {account.ToXml(),
       "<Account>\n  <!-- <Id>5</Id> -->\n  <Name>Smith &amp; Sons</Name>\n  <Address1>1 Main St</Address1>\n"
       "  <Address2></Address2>\n  <City>Bend</City>\n  <State>OR</State>\n  <Zip>97701</Zip>\n"
       "  <ContactName>Ann</ContactName>\n  <ContactEmail>ann@example.com</ContactEmail>\n"
       "  <ContactPhone>555-0100</ContactPhone>\n</Account>\n"},
      {user.ToXml(),
       "<AccountUser>\n<!-- <Id>7</Id> -->\n<FirstName>Ann</FirstName>\n<LastName>Lee</LastName>\n"
       "<UserName>ann</UserName>\n<Email>ann@example.com</Email>\n<Phone></Phone>\n"
       "<ReceiveNewsletter>false</ReceiveNewsletter>\n<ReceiveUpdates>true</ReceiveUpdates>\n</AccountUser>\n"},
      {reseller.ToXml(),
       "<Reseller>\n  <!-- <Id>9</Id> -->\n  <Name>Maps</Name>\n  <Address1></Address1>\n  <Address2></Address2>\n"
       "  <City></City>\n  <State></State>\n  <Zip></Zip>\n  <Website>maps.example</Website>\n  <Phone></Phone>\n"
       "  <Fax></Fax>\n  <Lat>47.099998</Lat>\n  <Lon>-122.500000</Lon>\n  <Type>dealer</Type>\n</Reseller>\n"},
      {contact.ToXml(),
       "<ResellerContact>\n  <Id>3</Id>\n  <Name>Bo</Name>\n  <Phone>1</Phone>\n  <Email>bo@example.com</Email>\n"
       "  <Type>sales</Type>\n</ResellerContact>\n"},
      {team.ToXml(), "<Team>\n  <!-- <Id>4</Id> -->\n  <Name>Crew</Name>\n</Team>\n"},
      {member.ToXml(), "<TeamMember>\n  <UserId>12</UserId>\n  <Role>Leader</Role>\n</TeamMember>\n"},
      {position.ToXml(),
       "<LiveTrackingPosition>\n  <Lat>47.500000</Lat>\n  <Lon>-8.250000</Lon>\n  <Ele>1200.000000</Ele>\n"
       "  <DeviceTimeUtc>2026-12-06T10:00:00Z</DeviceTimeUtc>\n  <Message>hi</Message>\n"
       "  <MessageType>text</MessageType>\n  <Properties></Properties>\n</LiveTrackingPosition>\n"},
      {password.ToXml(), "<SetPasswordRequest>\n  <Password>p&amp;w</Password>\n</SetPasswordRequest>\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.document, c.expected);
}

TEST(AdRecordDocuments, NegativeAndLargeNumbersInFull) {
  Team team;
  team.Id = std::numeric_limits<std::int32_t>::min();
  EXPECT_EQ(team.ToXml(), "<Team>\n  <!-- <Id>-2147483648</Id> -->\n  <Name></Name>\n</Team>\n");
  Reseller reseller;
  reseller.Lat = 47.5f;
  EXPECT_NE(reseller.ToXml().find("\n  <Lat>47.500000</Lat>\n"), std::string::npos);
}

TEST(AdRecordFields, NamesInAnyCaseAndTheTextsAsTheyConvert) {
  AccountUser user;
  struct Case {
    const char* name;
    const char* value;
    bool known;
  } cases[] = {{"ID", "42abc", true},
               {"firstname", " Ann ", true},
               {"receivenewsletter", "TRUE", true},
               {"ReceiveUpdates", "1", true},
               {"Nickname", "x", false},
               {"", "x", false},
               {"Id2", "9", false}};
  for (const Case& c : cases) EXPECT_EQ(user.SetField(c.name, c.value), c.known) << c.name;
  EXPECT_EQ(user.Id, 42);
  EXPECT_EQ(user.FirstName, " Ann ");
  EXPECT_TRUE(user.ReceiveNewsletter);
  EXPECT_FALSE(user.ReceiveUpdates);

  struct Number {
    const char* text;
    std::int32_t integer;
  } numbers[] = {
      {"", 0}, {"x1", 0}, {"  -17", -17}, {"+5", 5}, {"99999999999", 2147483647}, {"-99999999999", -2147483647 - 1}};
  for (const Number& n : numbers) {
    IDPair pair;
    pair.SetField("Value", n.text);
    EXPECT_EQ(pair.Value, n.integer) << n.text;
  }

  Reseller reseller;
  EXPECT_TRUE(reseller.SetField("lat", "47.1xyz"));
  EXPECT_FLOAT_EQ(reseller.Lat, 47.1f);
  EXPECT_TRUE(reseller.SetField("Lon", "north"));
  EXPECT_EQ(reseller.Lon, 0.0f);
  // A real beyond float's range must not be narrowed undefined.
  EXPECT_TRUE(reseller.SetField("Lat", "1e300"));
  EXPECT_TRUE(std::isinf(reseller.Lat));
  EXPECT_TRUE(reseller.SetField("Lon", "-1e300"));
  EXPECT_TRUE(std::isinf(reseller.Lon) && reseller.Lon < 0);

  String text;
  EXPECT_TRUE(text.SetField("#TEXT", "Admin"));
  EXPECT_EQ(text.Text, "Admin");
  EXPECT_FALSE(text.SetField("text", "x"));

  TeamTripStats stats;
  EXPECT_TRUE(stats.SetField("userid", "8"));
  EXPECT_TRUE(stats.SetField("AnimalType", "dog"));
  EXPECT_EQ(stats.UserID, 8);
  EXPECT_EQ(stats.animalType, "dog");
}

TEST(AdRecordFields, ElementNames) {
  EXPECT_STREQ(TeamTripStats::ElementName(), "TripStats");
  EXPECT_STREQ(String::ElementName(), "string");
  EXPECT_STREQ(IDPair::ElementName(), "IDPair");
}

}  // namespace
}  // namespace velinst::test
