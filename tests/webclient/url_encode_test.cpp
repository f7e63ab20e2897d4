#include "webclient/url_encode.h"

#include <gtest/gtest.h>

#include "webclient/parameter_list.h"
#include "webclient/request_query.h"

namespace velinst {
namespace {

TEST(UrlEncode, KeepsOnlyLettersAndDigits) {
  struct Case {
    std::string text;
    const char* expected;
  } cases[] = {
      {"", ""},
      {"Az09", "Az09"},
      {"a b", "a%20b"},
      {"\xE9", "%e9"},
      {"+/=", "%2b%2f%3d"},
      {"-._~", "%2d%2e%5f%7e"},
      {std::string("\0\xff", 2), "%00%ff"},
  };
  for (const Case& c : cases) EXPECT_EQ(UrlEncode(c.text), c.expected) << c.text;
}

TEST(EncodeQueryValue, EncodesOnlyWhatWouldBreakTheQuery) {
  struct Case {
    std::string value;
    const char* expected;
  } cases[] = {
      {"plain-text_1.2~/:;@?!$'()*,", "plain-text_1.2~/:;@?!$'()*,"},
      {"a&b=c", "a%26b%3dc"},
      {"1+1%#", "1%2b1%25%23"},
      {"two words\ttab", "two%20words%09tab"},
      {std::string("\0\x1f\x7f", 3), "%00%1f%7f"},
      // Bytes of other code pages go out unchanged.
      {"caf\xE9 \xC3\xA9", "caf\xE9%20\xC3\xA9"},
      {"<x>&amp;\"'", "<x>%26amp;\"'"},
  };
  for (const Case& c : cases) EXPECT_EQ(EncodeQueryValue(c.value), c.expected) << c.value;
}

TEST(QueryText, PairsInOrderWithEncodedValuesOnce) {
  const CRKParameterList parameters = {
      {"authToken", "t&1"}, {"empty", ""}, UrlEncodedParameter("query", "a b&c"), {"name", "%41"}};
  EXPECT_EQ(QueryText(parameters), "&authToken=t%261&empty=&query=a%20b%26c&name=%2541");
  EXPECT_EQ(QueryText({}), "");
}

TEST(NumberTexts, FormatLikePrintfInTheCLocale) {
  EXPECT_EQ(FixedText(72.5), "72.500000");
  EXPECT_EQ(FixedText(-0.0000004), "-0.000000");
  EXPECT_EQ(FixedText(1e20), "100000000000000000000.000000");
  EXPECT_EQ(FixedText(-1.7976931348623157e308).size(), 317u);
  EXPECT_EQ(DecimalText(-2147483647 - 1), "-2147483648");
}

}  // namespace
}  // namespace velinst
