#include "creg/reg.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "registry_fixture.h"

namespace velinst {
namespace {

// The test's key, open for writing in `reg_`.
class CRegTest : public test::RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    ASSERT_TRUE(reg_.OpenCurrentUser(Key().c_str(), true));
  }
  // The value's text, or "(none)" with the text left as it was.
  std::string Text(CReg& reg, const char* name) {
    std::string text = "(none)";
    reg.GetValue(name, text);
    return text;
  }
  // Writes `script` and imports it.
  bool Import(const std::string& script) {
    test::WriteWholeFile(store_.File("import.reg"), script);
    return ImportRegFile(store_.File("import.reg").c_str());
  }
  CReg reg_;
};

TEST_F(CRegTest, OpenForReadingNeedsTheKeyOpenForWritingCreatesIt) {
  CReg reg, reader;
  EXPECT_FALSE(reg.OpenCurrentUser(Key("a").c_str(), false) || reg.IsOpen());
  EXPECT_TRUE(reg.OpenCurrentUser(Key("a\\b").c_str(), true) && reader.OpenCurrentUser(Key("a").c_str(), false))
      << "created with its parents";
  std::int32_t value = 0;
  ASSERT_TRUE(reg.SetValue("v", std::int32_t{1}) && reg.OpenCurrentUser(Key("second").c_str(), true));
  EXPECT_FALSE(reg.GetValue("v", value, -1)) << "reads now go to the second key";
  EXPECT_FALSE(reg.OpenCurrentUser(Key("missing").c_str(), false) || reg.IsOpen()) << "a failed open closes";
}

TEST_F(CRegTest, EveryValueTypeRoundTrips) {
  ASSERT_TRUE(reg_.SetValue("signed", std::int32_t{-5}));
  ASSERT_TRUE(reg_.SetValue("unsigned", std::uint32_t{0xFFFFFFFE}));
  ASSERT_TRUE(reg_.SetValue("text", "C:\\Program Files\\Vendor \"quoted\" & caf\xC3\xA9"));
  ASSERT_TRUE(reg_.SetValue("char", 'x') && reg_.SetValue("nul", '\0') && reg_.SetValue("double", 1.5) &&
              reg_.SetValue("", "the default") && reg_.Flush());

  CReg reader;
  ASSERT_TRUE(reader.OpenCurrentUser(Key().c_str(), false));
  std::int32_t signedValue = 0;
  std::uint32_t unsignedValue = 0;
  char character = 0, nul = 'x';
  double number = 0;
  EXPECT_TRUE(reader.GetValue("signed", signedValue, 0) && reader.GetValue("unsigned", unsignedValue, 0u) &&
              reader.GetValue("char", character, '?') && reader.GetValue("nul", nul, '?') &&
              reader.GetValue("double", number, 0.0));
  EXPECT_EQ(std::to_string(signedValue) + " " + std::to_string(unsignedValue) + " " + character + nul + " " +
                std::to_string(number),
            std::string("-5 4294967294 x\0 1.500000", 25));
  // Doubles are stored as %.12f text, the NUL character as the empty text.
  EXPECT_EQ(Text(reader, "text") + "|" + Text(reader, "double") + "|" + Text(reader, "nul") + "|" + Text(reader, ""),
            "C:\\Program Files\\Vendor \"quoted\" & caf\xC3\xA9|1.500000000000||the default");
  EXPECT_FALSE(reader.SetValue("more", std::int32_t{1})) << "opened for reading";
}

TEST_F(CRegTest, NumbersAndCharactersReadInTwoSteps) {
  ASSERT_TRUE(reg_.SetValue("digits", "42abc") && reg_.SetValue("letters", "abc") &&
              reg_.SetValue("spaced", " \t-7 apples") && reg_.SetValue("dword", std::uint32_t{7}) &&
              reg_.SetValue("long", std::string(300, '9').c_str()));
  const struct {
    const char* name;
    bool found;
    std::int32_t value;
    char character;
  } cases[] = {{"digits", true, 42, '4'}, {"letters", true, 0, 'a'},   {"spaced", true, -7, ' '},
               {"dword", true, 7, 7},     {"missing", false, 99, '?'}, {"long", false, 99, '?'}};
  for (const auto& c : cases) {
    std::int32_t value = 0;
    char character = 0;
    EXPECT_EQ(reg_.GetValue(c.name, value, 99), c.found) << c.name;
    EXPECT_EQ(value, c.value) << c.name;
    reg_.GetValue(c.name, character, '?');
    EXPECT_EQ(character, c.character) << c.name << ": the first byte of the data";
  }

  double number = 0;
  EXPECT_FALSE(reg_.GetValue("missing", number, 0.1234567890123456));
  EXPECT_EQ(number, 0.123456789012) << "the default rounded to twelve decimals";
  ASSERT_TRUE(reg_.SetValue("huge", 1e300));
  EXPECT_EQ(Text(reg_, "huge").size(), 301u + 13u) << "stored whole, never cut";
}

TEST_F(CRegTest, TextIntoABufferFallsBackToTheDefault) {
  ASSERT_TRUE(reg_.SetValue("host", "service.example"));
  char buffer[16], small[8];
  EXPECT_TRUE(reg_.GetValue("host", buffer, sizeof buffer, "default"));
  EXPECT_FALSE(reg_.GetValue("host", small, sizeof small, "default.example"));
  EXPECT_EQ(std::string(buffer) + "|" + small, "service.example|default") << "the default, cut to the buffer";
  EXPECT_FALSE(reg_.GetValue("missing", buffer, sizeof buffer, nullptr));
  EXPECT_STREQ(buffer, "");
}

TEST_F(CRegTest, EnumeratesAndCountsValuesAndSubkeys) {
  ASSERT_TRUE(reg_.SetValue("one", std::uint32_t{1}));
  ASSERT_TRUE(reg_.SetValue("two", "2"));
  for (const char* sub : {"alpha", "beta", "gamma"}) ASSERT_TRUE(CReg().OpenCurrentUser(Key(sub).c_str(), true));
  std::set<std::string> values;
  char name[64];
  std::uint8_t data[16];
  std::uint32_t capacity = sizeof name, type = 0, size = sizeof data;
  for (bool more = reg_.EnumFirst(CReg::kEnumValues, name, &capacity, &type, data, &size); more;
       more = reg_.EnumNext(name, &capacity, &type, data, &size)) {
    values.insert(name + std::string("=") + std::to_string(type) + ":" + std::to_string(size));
    capacity = sizeof name;
    size = sizeof data;
  }
  EXPECT_EQ(values, (std::set<std::string>{"one=4:4", "two=1:2"}));
  capacity = sizeof name;
  ASSERT_TRUE(reg_.EnumFirst(CReg::kEnumSubkeys, name, &capacity, nullptr, nullptr, nullptr));
  EXPECT_EQ(capacity, std::strlen(name)) << "the length comes back";
  EXPECT_EQ(reg_.CountEntries(CReg::kEnumSubkeys), 3u);

  // The count stops at a name too long for its 512-byte buffer.
  CReg names;
  ASSERT_TRUE(names.OpenCurrentUser(Key("names").c_str(), true));
  for (const std::string& name : {std::string("a"), std::string(511, 'n'), std::string(512, 'n'), std::string("z")})
    ASSERT_TRUE(names.SetValue(name.c_str(), std::uint32_t{1}));
  EXPECT_EQ(names.CountEntries(CReg::kEnumValues), 2u) << "511 characters fit the 512-byte buffer, 512 do not";
}

TEST_F(CRegTest, DeleteKeysAndValues) {
  ASSERT_TRUE(CReg().OpenCurrentUser(Key("parent\\child").c_str(), true));
  EXPECT_FALSE(reg_.DeleteKey("parent", false)) << "it has a subkey";
  EXPECT_TRUE(reg_.DeleteKey("parent\\child", false));
  ASSERT_TRUE(CReg().OpenCurrentUser(Key("parent\\child\\deeper").c_str(), true));
  EXPECT_TRUE(reg_.DeleteKey("parent", true));
  EXPECT_FALSE(CReg().OpenCurrentUser(Key("parent").c_str(), false));
  EXPECT_FALSE(reg_.DeleteKey("parent", true) || reg_.DeleteKey(nullptr, true)) << "already gone";

  ASSERT_TRUE(reg_.SetValue("gone", "x"));
  EXPECT_TRUE(reg_.DeleteValue("gone") && !reg_.DeleteValue("gone"));
  EXPECT_EQ(Text(reg_, "gone"), "(none)");
}

TEST_F(CRegTest, ClosedObjectFailsAndReadsDefaults) {
  CReg reg(std::move(reg_));
  EXPECT_TRUE(reg.SetValue("v", "1")) << "moving hands the key on";
  std::int32_t value = 0;
  EXPECT_FALSE(reg_.GetValue("x", value, 5) || reg_.SetValue("x", "y") || reg_.DeleteValue("x") || reg_.Flush());
  EXPECT_EQ(value + reg_.CountEntries(CReg::kEnumValues), 5u);
}

TEST_F(CRegTest, ImportsAScript) {
  const std::string header = "Windows Registry Editor Version 5.00\r\n\r\n";
  ASSERT_TRUE(Import(header + "[HKEY_CURRENT_USER\\" + Key("Imported") +
                     "]\r\n\"Text\"=\"hello \\\"quoted\\\" C:\\\\path\"\r\n\"Blob\"=hex:01,02,\\\r\n  ff\r\n@=\"default\"\r\n\r\n"));
  CReg reg;
  ASSERT_TRUE(reg.OpenCurrentUser(Key("Imported").c_str(), false));
  EXPECT_EQ(Text(reg, "Text") + "|" + Text(reg, ""), "hello \"quoted\" C:\\path|default");
  char blob[8] = {};
  EXPECT_TRUE(reg.GetValue("Blob", blob, sizeof blob, ""));
  EXPECT_EQ(std::string(blob, 3), "\x01\x02\xff");
  ASSERT_TRUE(Import(header + "[-HKEY_CURRENT_USER\\" + Key("Imported") + "]\r\n"));
  EXPECT_FALSE(reg.OpenCurrentUser(Key("Imported").c_str(), false)) << "the key deletion line";

  testing::internal::CaptureStdout();
  EXPECT_FALSE(ImportRegFile(store_.File("missing.reg").c_str()) || ImportRegFile(nullptr));
  EXPECT_NE(testing::internal::GetCapturedStdout().find("bRegFileExists"), std::string::npos);
  EXPECT_TRUE(Import("This is no registry script\r\n[HKEY_CURRENT_USER\\" + Key("Rejected") + "]\r\n\"v\"=\"1\"\r\n"))
      << "the editor ran; it rejected the file";
  EXPECT_FALSE(reg.OpenCurrentUser(Key("Rejected").c_str(), false)) << "nothing was imported";
}

}  // namespace
}  // namespace velinst
