#include "creg/reg.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "registry_fixture.h"

namespace velinst {
namespace {

using test::RegistryTest;
using CRegTest = RegistryTest;

TEST_F(CRegTest, OpenForReadingNeedsTheKeyOpenForWritingCreatesIt) {
  CReg reg;
  EXPECT_FALSE(reg.OpenCurrentUser(Key().c_str(), false));
  EXPECT_FALSE(reg.IsOpen());
  EXPECT_TRUE(reg.OpenCurrentUser(Key("a\\b").c_str(), true)) << "created with its parents";
  EXPECT_TRUE(reg.IsOpen());
  CReg reader;
  EXPECT_TRUE(reader.OpenCurrentUser(Key("a").c_str(), false));
}

TEST_F(CRegTest, OpeningASecondKeyClosesTheFirst) {
  CReg reg;
  ASSERT_TRUE(reg.OpenCurrentUser(Key("first").c_str(), true));
  ASSERT_TRUE(reg.SetValue("v", std::int32_t{1}));
  ASSERT_TRUE(reg.OpenCurrentUser(Key("second").c_str(), true));
  std::int32_t value = 0;
  EXPECT_FALSE(reg.GetValue("v", value, -1)) << "reads now go to the second key";
  EXPECT_FALSE(reg.OpenCurrentUser(Key("missing").c_str(), false));
  EXPECT_FALSE(reg.IsOpen()) << "a failed open leaves the object closed";
}

TEST_F(CRegTest, EveryValueTypeRoundTrips) {
  CReg reg;
  ASSERT_TRUE(reg.OpenCurrentUser(Key().c_str(), true));
  ASSERT_TRUE(reg.SetValue("signed", std::int32_t{-5}));
  ASSERT_TRUE(reg.SetValue("unsigned", std::uint32_t{0xFFFFFFFE}));
  ASSERT_TRUE(reg.SetValue("text", "C:\\Program Files\\Vendor \"quoted\""));
  ASSERT_TRUE(reg.SetValue("char", 'x'));
  ASSERT_TRUE(reg.SetValue("double", 1.5));
  ASSERT_TRUE(reg.SetValue("", "the default"));
  ASSERT_TRUE(reg.Flush());

  CReg reader;
  ASSERT_TRUE(reader.OpenCurrentUser(Key().c_str(), false));
  std::int32_t signedValue = 0;
  EXPECT_TRUE(reader.GetValue("signed", signedValue, 0));
  EXPECT_EQ(signedValue, -5);
  std::uint32_t unsignedValue = 0;
  EXPECT_TRUE(reader.GetValue("unsigned", unsignedValue, 0u));
  EXPECT_EQ(unsignedValue, 0xFFFFFFFEu);
  std::string text;
  EXPECT_TRUE(reader.GetValue("text", text));
  EXPECT_EQ(text, "C:\\Program Files\\Vendor \"quoted\"");
  char character = 0;
  EXPECT_TRUE(reader.GetValue("char", character, '?'));
  EXPECT_EQ(character, 'x');
  double number = 0;
  EXPECT_TRUE(reader.GetValue("double", number, 0.0));
  EXPECT_EQ(number, 1.5);
  EXPECT_TRUE(reader.GetValue("double", text));
  EXPECT_EQ(text, "1.500000000000") << "doubles are stored as %.12f text";
  EXPECT_TRUE(reader.GetValue("", text));
  EXPECT_EQ(text, "the default");
  EXPECT_FALSE(reader.SetValue("more", std::int32_t{1})) << "opened for reading";
}

TEST_F(CRegTest, IntegersAndCharactersReadInTwoSteps) {
  CReg reg;
  ASSERT_TRUE(reg.OpenCurrentUser(Key().c_str(), true));
  ASSERT_TRUE(reg.SetValue("digits", "42abc"));
  ASSERT_TRUE(reg.SetValue("letters", "abc"));
  ASSERT_TRUE(reg.SetValue("spaced", " \t-7 apples"));
  ASSERT_TRUE(reg.SetValue("dword", std::uint32_t{7}));
  ASSERT_TRUE(reg.SetValue("long", std::string(300, '9').c_str()));

  const struct {
    const char* name;
    bool found;
    std::int32_t value;
  } cases[] = {{"digits", true, 42}, {"letters", true, 0},   {"spaced", true, -7},
               {"dword", true, 7},   {"missing", false, 99}, {"long", false, 99}};
  for (const auto& c : cases) {
    std::int32_t value = 0;
    EXPECT_EQ(reg.GetValue(c.name, value, 99), c.found) << c.name;
    EXPECT_EQ(value, c.value) << c.name;
  }
  char character = 0;
  EXPECT_TRUE(reg.GetValue("dword", character, '?'));
  EXPECT_EQ(character, 7) << "the first byte of the data";
  EXPECT_TRUE(reg.GetValue("letters", character, '?'));
  EXPECT_EQ(character, 'a');
  EXPECT_FALSE(reg.GetValue("missing", character, '?'));
  EXPECT_EQ(character, '?');
}

TEST_F(CRegTest, NulCharacterIsTheEmptyText) {
  CReg reg;
  ASSERT_TRUE(reg.OpenCurrentUser(Key().c_str(), true));
  ASSERT_TRUE(reg.SetValue("nul", '\0'));
  std::string text = "unchanged";
  EXPECT_TRUE(reg.GetValue("nul", text));
  EXPECT_EQ(text, "");
  char character = 'x';
  EXPECT_TRUE(reg.GetValue("nul", character, '?'));
  EXPECT_EQ(character, '\0');
}

TEST_F(CRegTest, MissingDoubleGivesTheDefaultRoundedToTwelveDecimals) {
  CReg reg;
  ASSERT_TRUE(reg.OpenCurrentUser(Key().c_str(), true));
  double value = 0;
  EXPECT_FALSE(reg.GetValue("missing", value, 0.1234567890123456));
  EXPECT_EQ(value, 0.123456789012);
  ASSERT_TRUE(reg.SetValue("huge", 1e300));
  std::string text;
  ASSERT_TRUE(reg.GetValue("huge", text));
  EXPECT_EQ(text.size(), 301u + 13u) << "stored whole, never cut";
}

TEST_F(CRegTest, TextIntoABufferFallsBackToTheDefault) {
  CReg reg;
  ASSERT_TRUE(reg.OpenCurrentUser(Key().c_str(), true));
  ASSERT_TRUE(reg.SetValue("host", "service.example"));
  char buffer[16];
  EXPECT_TRUE(reg.GetValue("host", buffer, sizeof buffer, "default"));
  EXPECT_STREQ(buffer, "service.example");
  char small[8];
  EXPECT_FALSE(reg.GetValue("host", small, sizeof small, "default.example"));
  EXPECT_STREQ(small, "default") << "the default, cut to the buffer";
  EXPECT_FALSE(reg.GetValue("missing", buffer, sizeof buffer, "fallback"));
  EXPECT_STREQ(buffer, "fallback");
  EXPECT_FALSE(reg.GetValue("missing", buffer, sizeof buffer, nullptr));
  EXPECT_STREQ(buffer, "");
  std::string text = "unchanged";
  EXPECT_FALSE(reg.GetValue("missing", text));
  EXPECT_EQ(text, "unchanged");
}

TEST_F(CRegTest, EnumeratesValuesAndSubkeys) {
  CReg reg;
  ASSERT_TRUE(reg.OpenCurrentUser(Key().c_str(), true));
  ASSERT_TRUE(reg.SetValue("one", std::uint32_t{1}));
  ASSERT_TRUE(reg.SetValue("two", "2"));
  for (const char* sub : {"alpha", "beta", "gamma"}) {
    CReg child;
    ASSERT_TRUE(child.OpenCurrentUser(Key(sub).c_str(), true));
  }
  std::set<std::string> values;
  char name[64];
  std::uint32_t capacity = sizeof name, type = 0, size = 0;
  std::uint8_t data[16];
  size = sizeof data;
  for (bool more = reg.EnumFirst(CReg::kEnumValues, name, &capacity, &type, data, &size); more;
       more = reg.EnumNext(name, &capacity, &type, data, &size)) {
    values.insert(name + std::string("=") + std::to_string(type) + ":" + std::to_string(size));
    capacity = sizeof name;
    size = sizeof data;
  }
  EXPECT_EQ(values, (std::set<std::string>{"one=4:4", "two=1:2"}));

  std::set<std::string> subkeys;
  capacity = sizeof name;
  for (bool more = reg.EnumFirst(CReg::kEnumSubkeys, name, &capacity, nullptr, nullptr, nullptr); more;
       more = reg.EnumNext(name, &capacity, nullptr, nullptr, nullptr)) {
    EXPECT_EQ(capacity, std::strlen(name)) << "the length comes back";
    subkeys.insert(name);
    capacity = sizeof name;
  }
  EXPECT_EQ(subkeys, (std::set<std::string>{"alpha", "beta", "gamma"}));
  EXPECT_EQ(reg.CountEntries(CReg::kEnumSubkeys), 3u);
  EXPECT_EQ(reg.CountEntries(CReg::kEnumValues), 2u);
  CReg leaf;
  ASSERT_TRUE(leaf.OpenCurrentUser(Key("alpha").c_str(), false));
  EXPECT_EQ(leaf.CountEntries(CReg::kEnumSubkeys), 0u);
}

TEST_F(CRegTest, CountStopsAtANameOfFiveHundredTwelveCharacters) {
  CReg reg;
  ASSERT_TRUE(reg.OpenCurrentUser(Key().c_str(), true));
  ASSERT_TRUE(reg.SetValue("a", std::uint32_t{1}));
  ASSERT_TRUE(reg.SetValue(std::string(511, 'n').c_str(), std::uint32_t{2}));
  ASSERT_TRUE(reg.SetValue(std::string(512, 'n').c_str(), std::uint32_t{3}));
  ASSERT_TRUE(reg.SetValue("z", std::uint32_t{4}));
  EXPECT_EQ(reg.CountEntries(CReg::kEnumValues), 2u) << "511 characters fit the 512-byte buffer, 512 do not";
}

TEST_F(CRegTest, DeleteKeyWithAndWithoutSubtree) {
  CReg reg;
  ASSERT_TRUE(reg.OpenCurrentUser(Key("parent\\child").c_str(), true));
  ASSERT_TRUE(reg.OpenCurrentUser(Key().c_str(), true));
  EXPECT_FALSE(reg.DeleteKey("parent", false)) << "it has a subkey";
  EXPECT_TRUE(reg.DeleteKey("parent\\child", false));
  ASSERT_TRUE(reg.OpenCurrentUser(Key("parent\\child\\deeper").c_str(), true));
  ASSERT_TRUE(reg.OpenCurrentUser(Key().c_str(), true));
  EXPECT_TRUE(reg.DeleteKey("parent", true));
  CReg check;
  EXPECT_FALSE(check.OpenCurrentUser(Key("parent").c_str(), false));
  EXPECT_FALSE(reg.DeleteKey("parent", true)) << "already gone";
  EXPECT_FALSE(reg.DeleteKey(nullptr, true));
}

TEST_F(CRegTest, DeleteValue) {
  CReg reg;
  ASSERT_TRUE(reg.OpenCurrentUser(Key().c_str(), true));
  ASSERT_TRUE(reg.SetValue("gone", "x"));
  EXPECT_TRUE(reg.DeleteValue("gone"));
  EXPECT_FALSE(reg.DeleteValue("gone"));
  std::string text;
  EXPECT_FALSE(reg.GetValue("gone", text));
}

TEST_F(CRegTest, ClosedObjectFailsAndReadsDefaults) {
  CReg reg;
  std::int32_t value = 0;
  EXPECT_FALSE(reg.GetValue("x", value, 5));
  EXPECT_EQ(value, 5);
  double number = 0;
  EXPECT_FALSE(reg.GetValue("x", number, 2.5));
  EXPECT_EQ(number, 2.5);
  EXPECT_FALSE(reg.SetValue("x", "y"));
  EXPECT_FALSE(reg.DeleteValue("x"));
  EXPECT_FALSE(reg.Flush());
  EXPECT_EQ(reg.CountEntries(CReg::kEnumValues), 0u);
}

TEST_F(CRegTest, MovingHandsTheKeyOn) {
  CReg first;
  ASSERT_TRUE(first.OpenCurrentUser(Key().c_str(), true));
  CReg second(std::move(first));
  EXPECT_TRUE(second.IsOpen());
  EXPECT_TRUE(second.SetValue("v", "1"));
  CReg third;
  third = std::move(second);
  std::string text;
  EXPECT_TRUE(third.GetValue("v", text));
  static_assert(!std::is_copy_constructible_v<CReg>);
  static_assert(!std::is_copy_assignable_v<CReg>);
}

TEST_F(CRegTest, ImportsAScript) {
  const std::string script = store_.File("import.reg");
  test::WriteWholeFile(script,
                       "Windows Registry Editor Version 5.00\r\n\r\n"
                       "[HKEY_CURRENT_USER\\" +
                           Key("Imported") +
                           "]\r\n"
                           "\"Text\"=\"hello \\\"quoted\\\" C:\\\\path\"\r\n"
                           "\"Number\"=dword:0000002a\r\n"
                           "\"Blob\"=hex:01,02,\\\r\n  ff\r\n"
                           "@=\"default\"\r\n\r\n");
  ASSERT_TRUE(ImportRegFile(script.c_str()));
  CReg reg;
  ASSERT_TRUE(reg.OpenCurrentUser(Key("Imported").c_str(), false));
  std::string text;
  EXPECT_TRUE(reg.GetValue("Text", text));
  EXPECT_EQ(text, "hello \"quoted\" C:\\path");
  std::int32_t number = 0;
  EXPECT_TRUE(reg.GetValue("Number", number, 0));
  EXPECT_EQ(number, 42);
  char blob[8] = {};
  EXPECT_TRUE(reg.GetValue("Blob", blob, sizeof blob, ""));
  EXPECT_EQ(std::string(blob, 3), "\x01\x02\xff");
  EXPECT_TRUE(reg.GetValue("", text));
  EXPECT_EQ(text, "default");

  test::WriteWholeFile(script,
                       "Windows Registry Editor Version 5.00\r\n\r\n"
                       "[-HKEY_CURRENT_USER\\" +
                           Key("Imported") + "]\r\n");
  ASSERT_TRUE(ImportRegFile(script.c_str()));
  EXPECT_FALSE(reg.OpenCurrentUser(Key("Imported").c_str(), false)) << "the key deletion line";
}

TEST_F(CRegTest, ImportOfAMissingOrRejectedScript) {
  testing::internal::CaptureStdout();
  EXPECT_FALSE(ImportRegFile(store_.File("missing.reg").c_str()));
  EXPECT_NE(testing::internal::GetCapturedStdout().find("bRegFileExists"), std::string::npos);
  EXPECT_FALSE(ImportRegFile(nullptr));

  const std::string script = store_.File("broken.reg");
  test::WriteWholeFile(script, "This is no registry script\r\n[HKEY_CURRENT_USER\\" + Key() + "]\r\n\"v\"=\"1\"\r\n");
  EXPECT_TRUE(ImportRegFile(script.c_str())) << "the editor ran; it rejected the file";
  CReg reg;
  EXPECT_FALSE(reg.OpenCurrentUser(Key().c_str(), false)) << "nothing was imported";
}

}  // namespace
}  // namespace velinst
