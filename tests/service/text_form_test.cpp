#include "text_form.h"

#include <gtest/gtest.h>

namespace velinst::service {
namespace {

TEST(TextForm, EscapesTheFiveCharacters) {
  EXPECT_EQ(EscapeMarkup("a&b\"c'd<e>f"), "a&amp;b&quot;c&apos;d&lt;e&gt;f");
  EXPECT_EQ(EscapeMarkup("&amp;"), "&amp;amp;");
}

TEST(TextForm, XmlCharactersReplacesWhatXmlCannotHold) {
  const std::string r = "\xEF\xBF\xBD";  // U+FFFD, the replacement character
  const std::pair<std::string, std::string> cases[] = {
      {"plain\ttext\r\n", "plain\ttext\r\n"},
      {std::string("a\0b", 3), "a" + r + "b"},
      {std::string("a\x01") + "b", "a" + r + "b"},
      {"\xC3\xA9", "\xC3\xA9"},
      {"\xE9", r},                  // not UTF-8
      {"\xC0\xAF", r + r},          // overlong
      {"\xED\xA0\x80", r + r + r},  // surrogate
      {"\xEF\xBF\xBE", r},          // U+FFFE
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(XmlCharacters(in), out);
}

TEST(TextForm, ClippedTextKeepsSequencesAndEntitiesWhole) {
  EXPECT_EQ(ClippedText("abcdef", 10), "abcdef");
  EXPECT_EQ(ClippedText("abcdef", 3), "abc");
  EXPECT_EQ(ClippedText(std::string("ab\xC3\xA9") + "cd", 3), "ab");
  EXPECT_EQ(ClippedText("ab&amp;cd", 5), "ab");
  EXPECT_EQ(ClippedText("ab&amp;cd", 7), "ab&amp;");
}

TEST(TextForm, EqualsIgnoringCaseIsAsciiOnly) {
  EXPECT_TRUE(EqualsIgnoringCase("Account.Login", "account.LOGIN"));
  EXPECT_FALSE(EqualsIgnoringCase("abc", "abd"));
  EXPECT_FALSE(EqualsIgnoringCase("abc", "ab"));
}

}  // namespace
}  // namespace velinst::service
