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
  const struct {
    const char* text;
    std::optional<std::int32_t> value;
    const char* rest;
  } cases[] = {{"42, x", 42, ", x"},
               {"  -7x", -7, "x"},
               {"abc", std::nullopt, "abc"},
               {"", std::nullopt, ""},
               {"99999999999999999999", std::numeric_limits<std::int32_t>::max(), ""},
               {"-2147483648", std::numeric_limits<std::int32_t>::min(), ""},
               {"-99999999999999999999", std::numeric_limits<std::int32_t>::min(), ""}};
  for (const auto& c : cases) {
    std::string_view text = c.text;
    EXPECT_EQ(ScanInt(text), c.value) << c.text;
    EXPECT_EQ(text, c.rest) << c.text;
  }
}

TEST(ScanReal, ReadsAsStrtodReadsWithoutLocale) {
  const double infinity = std::numeric_limits<double>::infinity();
  const struct {
    const char* text;
    std::optional<double> value;
    const char* rest;
  } cases[] = {
      {"237.5", 237.5, ""},         {" \t-122.125, 37", -122.125, ", 37"},
      {"+1e3x", 1000.0, "x"},       {".5", 0.5, ""},
      {"1e400", infinity, ""},      {"-1e400", -infinity, ""},
      {"1e-400", 0.0, ""},          {"inf", infinity, ""},
      {"--1", std::nullopt, "--1"}, {"+-1", std::nullopt, "+-1"},
      {"x1", std::nullopt, "x1"},   {"", std::nullopt, ""},
      {"0x10", 0.0, "x10"}  // no hexadecimal reals in region files
  };
  for (const auto& c : cases) {
    std::string_view text = c.text;
    EXPECT_EQ(ScanReal(text), c.value) << c.text;
    EXPECT_EQ(text, c.rest) << c.text;
  }
  std::string_view notANumber = "nan";
  EXPECT_TRUE(std::isnan(ScanReal(notANumber).value()));
}

TEST(LineCursor, DropsCarriageReturnBeforeLineEndAndCountsLines) {
  LineCursor lines("a\r\nb\rc\n\r\n\nlast\r");
  std::string_view line;
  std::string seen;
  while (lines.Next(line)) seen += std::to_string(lines.LineNumber()) + "[" + std::string(line) + "]";
  EXPECT_EQ(seen, "1[a]2[b\rc]3[]4[]5[last]");
  EXPECT_FALSE(LineCursor("").Next(line));
}

}  // namespace
}  // namespace velinst::packlist
