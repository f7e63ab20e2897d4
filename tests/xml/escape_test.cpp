#include "xml/escape.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace velinst {
namespace {

std::string InPlace(void (*change)(std::string&), std::string text) {
  change(text);
  return text;
}

TEST(XmlEscape, EachFunctionOnSpecialAndPlainText) {
  struct Case {
    void (*inPlace)(std::string&);
    std::string (*copying)(std::string_view);  // the same change returning a copy, or null
    const char* input;
    const char* expected;
  };
  const Case cases[] = {
      {XMLEscape, XMLEscaped, "", ""},
      {XMLEscape, XMLEscaped, "\"'<>&", "&quot;&apos;&lt;&gt;&amp;"},
      {XMLEscape, XMLEscaped, "a&amp;b", "a&amp;amp;b"},
      {XMLUnescape, XMLUnescaped, "&quot;&apos;&amp;&lt;&gt;", "\"'&<>"},
      {XMLUnescape, XMLUnescaped, "&amp;lt;&amp;amp;", "&lt;&amp;"},  // one pass only
      {XMLUnescape, XMLUnescaped, "&unknown; &#60; &lt", "&unknown; &#60; &lt"},
      {XMLUnescape, XMLUnescaped, "&&lt;;", "&<;"},
      {WrapCDATA, nullptr, "plain text", "plain text"},
      {WrapCDATA, nullptr, "a<b", "<![CDATA[a<b]]>"},
      {WrapCDATA, nullptr, "it's", "<![CDATA[it's]]>"},
      {WrapCDATA, nullptr, "", ""},
      {StripCDATA, nullptr, "x<![CDATA[1]]>y<![CDATA[2]]>z", "x1y2z"},
      {StripCDATA, nullptr, "<![CDATA[unclosed", "unclosed"},
      {StripCDATA, nullptr, "]]>a<![CDATA[b", "ab"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InPlace(c.inPlace, c.input), c.expected) << c.input;
    EXPECT_EQ(c.copying != nullptr ? c.copying(c.input) : c.expected, c.expected) << c.input;
  }
  EXPECT_EQ(ElementText("plain"), "plain");
  EXPECT_EQ(ElementText("a<b"), "<![CDATA[a<b]]>");
  EXPECT_EQ(ElementText("]]>]]>"), "<![CDATA[]]]]><![CDATA[>]]]]><![CDATA[>]]>");  // a marker split across sections
  EXPECT_EQ(AttributeText("a&b<c\"d'e>f"), "a&amp;b&lt;c&quot;d'e>f");
}

TEST(XmlUnescape, UndoesEscapeForEveryText) {
  std::mt19937 random(6);
  const std::string alphabet = "&;<>\"'ampltgquos x";
  for (int round = 0; round < 2000; ++round) {
    std::string text(random() % 24, ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    EXPECT_EQ(XMLUnescaped(XMLEscaped(text)), text);
  }
}

}  // namespace
}  // namespace velinst
