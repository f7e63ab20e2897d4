#include "webclient/url_encode.h"

#include <gtest/gtest.h>

#include "webclient/request_query.h"

namespace velinst {
namespace {

TEST(UrlEncode, FullEncodingAndQueryValueEncoding) {
  struct Case {
    std::string text;
    const char* full;   // UrlEncode: letters and digits only stay
    const char* query;  // EncodeQueryValue: only what would break the query
  } cases[] = {
      {"", "", ""},
      {"Az09", "Az09", "Az09"},
      {"a b&c=d", "a%20b%26c%3dd", "a%20b%26c%3dd"},
      {"+/=%#", "%2b%2f%3d%25%23", "%2b/%3d%25%23"},
      {"-._~:;@?!$'()*,", "%2d%2e%5f%7e%3a%3b%40%3f%21%24%27%28%29%2a%2c", "-._~:;@?!$'()*,"},
      {std::string("\0\t\x1f\x7f", 4), "%00%09%1f%7f", "%00%09%1f%7f"},
      // Bytes of other code pages go out unchanged in a query value.
      {"caf\xE9 \xC3\xA9\xff", "caf%e9%20%c3%a9%ff", "caf\xE9%20\xC3\xA9\xff"},
      {"<x>&amp;\"'", "%3cx%3e%26amp%3b%22%27", "<x>%26amp;\"'"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UrlEncode(c.text), c.full) << c.text;
    EXPECT_EQ(EncodeQueryValue(c.text), c.query) << c.text;
  }
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
