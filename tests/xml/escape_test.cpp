#include "xml/escape.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace velinst {
namespace {

struct Case {
  const char* input;
  const char* expected;
};

TEST(XmlEscape, ReplacesTheFiveCharacters) {
  const Case cases[] = {
      {"", ""},
      {"plain", "plain"},
      {"&<", "&amp;&lt;"},
      {"\"'<>&", "&quot;&apos;&lt;&gt;&amp;"},
      {"a&amp;b", "a&amp;amp;b"},
  };
  for (const Case& c : cases) {
    std::string text = c.input;
    XMLEscape(text);
    EXPECT_EQ(text, c.expected) << c.input;
    EXPECT_EQ(XMLEscaped(c.input), c.expected) << c.input;
  }
}

TEST(XmlUnescape, DecodesInOnePass) {
  const Case cases[] = {
      {"&lt;&gt;", "<>"},
      {"&quot;&apos;&amp;", "\"'&"},
      {"&amp;lt;", "&lt;"},
      {"&amp;amp;", "&amp;"},
      {"&unknown; &#60; &lt", "&unknown; &#60; &lt"},
      {"&&lt;;", "&<;"},
  };
  for (const Case& c : cases) {
    std::string text = c.input;
    XMLUnescape(text);
    EXPECT_EQ(text, c.expected) << c.input;
    EXPECT_EQ(XMLUnescaped(c.input), c.expected) << c.input;
  }
}

TEST(XmlUnescape, UndoesEscapeForEveryText) {
  std::mt19937 random(6);
  const std::string alphabet = "&;<>\"'ampltgquos x";
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 24);
    for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    EXPECT_EQ(XMLUnescaped(XMLEscaped(text)), text);
  }
}

TEST(WrapCData, WrapsOnlyTextWithSpecialCharacters) {
  const Case cases[] = {
      {"plain text", "plain text"},
      {"a<b", "<![CDATA[a<b]]>"},
      {"it's", "<![CDATA[it's]]>"},
      {"", ""},
  };
  for (const Case& c : cases) {
    std::string text = c.input;
    WrapCDATA(text);
    EXPECT_EQ(text, c.expected) << c.input;
  }
}

TEST(StripCData, RemovesEachPairOfMarkers) {
  const Case cases[] = {
      {"<![CDATA[a<b]]>", "a<b"},   {"x<![CDATA[1]]>y<![CDATA[2]]>z", "x1y2z"},
      {"no markers", "no markers"}, {"<![CDATA[unclosed", "unclosed"},
      {"]]>a<![CDATA[b", "ab"},
  };
  for (const Case& c : cases) {
    std::string text = c.input;
    StripCDATA(text);
    EXPECT_EQ(text, c.expected) << c.input;
  }
}

TEST(ElementText, SplitsACloseMarkerAcrossSections) {
  EXPECT_EQ(ElementText("plain"), "plain");
  EXPECT_EQ(ElementText("a<b"), "<![CDATA[a<b]]>");
  EXPECT_EQ(ElementText("x]]>y"), "<![CDATA[x]]]]><![CDATA[>y]]>");
  EXPECT_EQ(ElementText("]]>]]>"), "<![CDATA[]]]]><![CDATA[>]]]]><![CDATA[>]]>");
}

TEST(AttributeText, EscapesWhatWouldEndTheValue) {
  EXPECT_EQ(AttributeText("a&b<c\"d'e>f"), "a&amp;b&lt;c&quot;d'e>f");
}

}  // namespace
}  // namespace velinst
