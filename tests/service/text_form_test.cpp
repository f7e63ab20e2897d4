#include "text_form.h"

#include <gtest/gtest.h>

namespace velinst::service {
namespace {

TEST(TextForm, EscapesTheFiveCharacters) {
  EXPECT_EQ(EscapeMarkup("a&b\"c'd<e>f"), "a&amp;b&quot;c&apos;d&lt;e&gt;f");
  EXPECT_EQ(EscapeMarkup("&amp;"), "&amp;amp;");
}

TEST(TextForm, XmlCharactersReplacesWhatXmlCannotHold) {
  struct Case {
    std::string in;
    std::string out;
  } cases[] = {
      {"plain\ttext\r\n", "plain\ttext\r\n"},
      {std::string("a\0b", 3),
       "a\xEF\xBF\xBD"
       "b"},
      {"a\x01"
       "b",
       "a\xEF\xBF\xBD"
       "b"},
      {"\xC3\xA9", "\xC3\xA9"},
      {"\xE9", "\xEF\xBF\xBD"},                                  // not UTF-8
      {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                  // overlong
      {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // surrogate
      {"\xEF\xBF\xBE", "\xEF\xBF\xBD"},                          // U+FFFE
  };
  for (const Case& c : cases) EXPECT_EQ(XmlCharacters(c.in), c.out);
}

TEST(TextForm, ClippedTextKeepsSequencesAndEntitiesWhole) {
  EXPECT_EQ(ClippedText("abcdef", 10), "abcdef");
  EXPECT_EQ(ClippedText("abcdef", 3), "abc");
  EXPECT_EQ(ClippedText("ab\xC3\xA9"
                        "cd",
                        3),
            "ab");
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
