#include "creg/reg_script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velinst {
namespace {

using platform::RegistryRoot;

// The sections of a script that parses, or the error of one that does not.
std::vector<ScriptSection> Parse(const std::string& text, std::string* failure = nullptr) {
  std::vector<ScriptSection> sections;
  std::string error;
  EXPECT_EQ(ParseRegistryScript(text, sections, error), failure == nullptr) << text << error;
  if (failure != nullptr) *failure = error;
  return sections;
}
std::string ParseError(const std::string& text) {
  std::string error;
  return Parse(text, &error), error;
}

const std::string kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";

// A value as "name=type:hex bytes", or "name=-" when it is to be removed.
template <typename Value>
std::string Show(const Value& value, bool remove = false) {
  std::string text = value.name + "=" + (remove ? "-" : std::to_string(value.type) + ":");
  static const char kDigits[] = "0123456789abcdef";
  for (const std::uint8_t byte : value.data) text += {kDigits[byte >> 4], kDigits[byte & 15]};
  return text;
}

// Each section as "[root path]" ("[-root path]" to remove it) and its values.
std::string Show(const std::vector<ScriptSection>& sections) {
  std::string text;
  for (const ScriptSection& section : sections) {
    text += (text.empty() ? "[" : " [") + std::string(section.removeKey ? "-" : "") +
            std::string(RootName(section.root)) + " " + section.path + "]";
    for (const ScriptValue& value : section.values) text += " " + Show(value, value.remove);
  }
  return text;
}

TEST(RegScript, ReadsEveryFormOfValue) {
  EXPECT_EQ(Show(Parse(kHeader + "; a comment\r\n"
                                 "[HKLM\\\\Software\\Vendor\\]\r\n"
                                 "\"Text\"=\"a \\\"b\\\" c:\\\\d\"\r\n"
                                 "@=\"\"\r\n"
                                 "  \"Count\" = dword:2A\r\n"
                                 "\"Blob\"=hex:01,02,\\\r\n    03\r\n"
                                 "\"Empty\"=hex:\r\n"
                                 "\"Multi\"=hex(7):61,00,00\r\n"
                                 "\"Gone\"=-\r\n"
                                 "\r\n[-HKCU\\Software\\Old]\r\n[hkey_users]\r\n")),
            "[HKEY_LOCAL_MACHINE Software\\Vendor] Text=1:612022622220633a5c6400 =1:00 Count=4:2a000000 Blob=3:010203 "
            "Empty=3: Multi=7:610000 Gone=- [-HKEY_CURRENT_USER Software\\Old] [HKEY_USERS ]");
}

TEST(RegScript, RejectsWhatDoesNotParse) {
  const struct {
    std::string text;
    const char* fault;
  } cases[] = {
      {"", "not a registry script"},
      {"[HKEY_CURRENT_USER\\X]\n", "line 1: not a registry script"},
      {kHeader + "\"v\"=\"1\"\n", "line 3: a value before the first key"},
      {kHeader + "[HKEY_NOWHERE\\X]\n", "line 3: unknown root key"},
      {kHeader + "[HKEY_CURRENT_USER\\X\n", "line 3: ']' expected"},
      {kHeader + "[-HKEY_CURRENT_USER]\n", "line 3: a root key cannot be deleted"},
      {kHeader + "[-HKCU\\X]\n\"v\"=\"1\"\n", "line 4: a value under a deleted key"},
      {kHeader + "[HKCU\\X]\n\"v\"=dword:123456789\n", "line 4: dword"},
      {kHeader + "[HKCU\\X]\n\"v\"=hex:1,zz\n", "line 4: hex data"},
      {kHeader + "[HKCU\\X]\n\"v\"=hex(:01\n", "line 4: hex(N)"},
      {kHeader + "[HKCU\\X]\n\"v\"=\"open\n", "line 4: unterminated"},
      {kHeader + "[HKCU\\X]\n\"v\"=\"a\\tb\"\n", "line 4: unterminated or badly escaped text"},
      {kHeader + "[HKCU\\X]\n\"v\" \"1\"\n", "line 4: '=' expected"},
      {kHeader + "[HKCU\\X]\n\"v\"=qword:1\n", "line 4: unknown value data"},
      {kHeader + "[HKCU\\X]\nstray\n", "line 4: unexpected text"},
  };
  for (const auto& c : cases) EXPECT_NE(ParseError(c.text).find(c.fault), std::string::npos) << c.text;
}

std::string Utf16LittleEndian(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  return bytes;
}

// As the registry editor exports them: UTF-16LE behind a byte-order mark.
TEST(RegScript, ReadsUtf16Scripts) {
  EXPECT_EQ(Show(Parse(Utf16LittleEndian(u"Windows Registry Editor Version 5.00\r\n\r\n"
                                         u"[HKEY_CURRENT_USER\\Software\\Caf\u00e9]\r\n"
                                         u"\"Map\"=\"\u5730\u56f3 \U0001F5FA\"\r\n"))),
            "[HKEY_CURRENT_USER Software\\Caf\xC3\xA9] Map=1:e59cb0e59bb320f09f97ba00");
  const std::string header = Utf16LittleEndian(u"Windows Registry Editor Version 5.00\r\n");
  for (const std::string& broken : {header + "\n", header + Utf16LittleEndian(u"\xD800").substr(2),
                                    header + Utf16LittleEndian(u"\xDC00[").substr(2)})
    EXPECT_NE(ParseError(broken).find("broken UTF-16"), std::string::npos);
}

TEST(RegScript, TreeSurvivesFormattingAndParsing) {
  RegistryTree tree;
  RegistryKeyRecord& vendor = tree.Create("Software\\Vendor\\Product");
  vendor.SetValue("", platform::kRegSz, {'d', 0});
  vendor.SetValue("quote\"back\\slash", platform::kRegSz, {'"', '\\', 0});
  vendor.SetValue("dword", platform::kRegDword, {1, 2, 3, 4});
  vendor.SetValue("binary", platform::kRegBinary, {0, 255});
  vendor.SetValue("line break", platform::kRegSz, {'a', '\n', 'b', 0});  // not plain text: kept as hex(1)
  vendor.SetValue("no terminator", platform::kRegSz, {'a'});
  vendor.SetValue("odd dword", platform::kRegDword, {1});
  vendor.SetValue("qword", platform::kRegQword, {1, 2, 3, 4, 5, 6, 7, 8});
  tree.Create("Software\\Other");

  const std::string text = FormatRegistryScript(RegistryRoot::kCurrentUser, tree);
  EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\n", 0), 0u);
  EXPECT_NE(text.find("\"dword\"=dword:04030201\n"), std::string::npos);
  EXPECT_NE(text.find("\"line break\"=hex(1):61,0a,62,00\n"), std::string::npos);

  RegistryTree back;
  for (const ScriptSection& section : Parse(text)) ApplySection(section, back);
  EXPECT_EQ(FormatRegistryScript(RegistryRoot::kCurrentUser, back), text);
  const RegistryKeyRecord* product = back.Find("SOFTWARE\\vendor\\product");
  ASSERT_NE(product, nullptr);
  std::string written, read;
  for (const RegistryValue& value : vendor.values) written += Show(value) + " ";
  for (const RegistryValue& value : product->values) read += Show(value) + " ";
  EXPECT_EQ(read, written);
}

TEST(RegistryTreeTest, KeysIgnoreCaseAndKeepTheirParents) {
  RegistryTree tree;
  tree.Create("Software\\Vendor\\A");
  tree.Create("SOFTWARE\\vendor\\b");
  tree.Create("Software\\Vendor A");  // sorts between "Vendor" and its subkeys
  EXPECT_EQ(tree.SubkeyNames("software\\VENDOR"), (std::vector<std::string>{"A", "b"}));
  EXPECT_EQ(tree.SubkeyNames("Software"), (std::vector<std::string>{"Vendor", "Vendor A"}));
  EXPECT_TRUE(tree.HasSubkeys("Software\\Vendor") && !tree.HasSubkeys("Software\\Vendor A"));
  EXPECT_TRUE(tree.Remove("software\\vendor"));
  EXPECT_EQ(tree.Find("Software\\Vendor\\A"), nullptr);
  EXPECT_NE(tree.Find("Software\\Vendor A"), nullptr) << "a neighbour is not below the key";
  EXPECT_FALSE(tree.Remove("")) << "the root stays";
}

TEST(RegistryTreeTest, ValueNamesIgnoreCaseAndKeepTheirPlace) {
  RegistryKeyRecord key;
  key.SetValue("First", platform::kRegSz, {0});
  key.SetValue("Second", platform::kRegSz, {0});
  key.SetValue("FIRST", platform::kRegDword, {1, 0, 0, 0});
  ASSERT_EQ(key.values.size(), 2u);
  EXPECT_EQ(key.values[0].name + std::to_string(key.values[0].type), "First" + std::to_string(platform::kRegDword));
  EXPECT_TRUE(key.DeleteValue("first"));
  EXPECT_EQ(key.FindValue("First"), nullptr);
}

}  // namespace
}  // namespace velinst
