#include "packlist/text_scan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "packlist/line_cursor.h"

namespace velinst::packlist {
namespace {

TEST(ScanInt, ReadsAsPercentDReadsAndClamps) {
  struct Case {
    const char* text;
    std::optional<std::int32_t> value;
    const char* rest;
  };
  const Case cases[] = {{"42, x", 42, ", x"},
                        {"  -7x", -7, "x"},
                        {"+5", 5, ""},
                        {"abc", std::nullopt, "abc"},
                        {"-", std::nullopt, "-"},
                        {"", std::nullopt, ""},
                        {"99999999999999999999", std::numeric_limits<std::int32_t>::max(), ""},
                        {"-2147483648", std::numeric_limits<std::int32_t>::min(), ""},
                        {"-99999999999999999999", std::numeric_limits<std::int32_t>::min(), ""}};
  for (const Case& c : cases) {
    std::string_view text = c.text;
    EXPECT_EQ(ScanInt(text), c.value) << c.text;
    EXPECT_EQ(text, c.rest) << c.text;
  }
}

TEST(ScanReal, ReadsAsStrtodReadsWithoutLocale) {
  struct Case {
    const char* text;
    std::optional<double> value;
    const char* rest;
  };
  const double infinity = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {"237.5", 237.5, ""},         {" \t-122.125, 37", -122.125, ", 37"},
      {"+1e3x", 1000.0, "x"},       {".5", 0.5, ""},
      {"1e400", infinity, ""},      {"-1e400", -infinity, ""},
      {"1e-400", 0.0, ""},          {"inf", infinity, ""},
      {"--1", std::nullopt, "--1"}, {"+-1", std::nullopt, "+-1"},
      {"x1", std::nullopt, "x1"},   {"", std::nullopt, ""},
      {"0x10", 0.0, "x10"}  // no hexadecimal reals in region files
  };
  for (const Case& c : cases) {
    std::string_view text = c.text;
    EXPECT_EQ(ScanReal(text), c.value) << c.text;
    EXPECT_EQ(text, c.rest) << c.text;
  }
  std::string_view notANumber = "nan";
  EXPECT_TRUE(std::isnan(ScanReal(notANumber).value()));
}

TEST(Tokens, SplitAsStrtokSplits) {
  Tokens tokens(",,24, \"name\", 0.5,1");
  EXPECT_EQ(tokens.Next(","), "24");
  EXPECT_EQ(tokens.Next("\""), " ");
  EXPECT_EQ(tokens.Next("\""), "name");
  EXPECT_EQ(tokens.Next(","), " 0.5");
  EXPECT_EQ(tokens.Next(","), "1");
  EXPECT_EQ(tokens.Next(","), std::nullopt);
  EXPECT_EQ(tokens.Next("\""), std::nullopt);

  Tokens noBlank("24,\"name\"");  // the skipped text swallows the name
  EXPECT_EQ(noBlank.Next(","), "24");
  EXPECT_EQ(noBlank.Next("\""), "name");
  EXPECT_EQ(noBlank.Next("\""), std::nullopt);
}

TEST(LineCursor, DropsCarriageReturnBeforeLineEndAndCountsLines) {
  LineCursor lines("a\r\nb\rc\n\r\n\nlast\r");
  const char* expected[] = {"a", "b\rc", "", "", "last"};
  std::string_view line;
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(lines.Next(line));
    EXPECT_EQ(line, expected[i]);
    EXPECT_EQ(lines.LineNumber(), i + 1);
  }
  EXPECT_FALSE(lines.Next(line));

  LineCursor cursor("one\ntwo\n");
  ASSERT_TRUE(cursor.Next(line));
  const LineCursor::Position second = cursor.Tell();
  ASSERT_TRUE(cursor.Next(line));
  EXPECT_FALSE(cursor.Next(line));
  cursor.Seek(second);
  ASSERT_TRUE(cursor.Next(line));
  EXPECT_EQ(line, "two");
  EXPECT_EQ(cursor.LineNumber(), 2);
  EXPECT_FALSE(LineCursor("").Next(line));
}

}  // namespace
}  // namespace velinst::packlist
