#include "installer/command_line.h"

#include <gtest/gtest.h>

namespace velinst {
namespace {

// The program is quoted, a blank kept before empty arguments; more than 511
// characters are refused, the line left as it was.
TEST(CommandLine, QuotesProgramAndRefusesMoreThan511Characters) {
  std::string line, other, longest;
  ASSERT_TRUE(BuildQuotedCommandLine("C:\\a b\\x.exe", "", line) && BuildQuotedCommandLine("x", nullptr, other));
  EXPECT_EQ(line + "|" + other, "\"C:\\a b\\x.exe\" |\"x\" ");
  ASSERT_TRUE(BuildQuotedCommandLine("x", "-a \"b c\"", line));
  EXPECT_EQ(line, "\"x\" -a \"b c\"");
  ASSERT_TRUE(BuildQuotedCommandLine(std::string(511 - 3, 'p').c_str(), "", longest));
  EXPECT_EQ(longest.size(), 511u);
  EXPECT_FALSE(BuildQuotedCommandLine(std::string(512 - 3, 'p').c_str(), "", line));
  EXPECT_EQ(line, "\"x\" -a \"b c\"");
}

TEST(CommandLine, SplitsAsTheWindowsRuntimeDoes) {
  struct Case {
    const char* line;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"\"C:\\Program Files\\x.exe\" ", {"C:\\Program Files\\x.exe"}},
      {"prog a  b\tc", {"prog", "a", "b", "c"}},
      {"\"p\" a\\\\b", {"p", "a\\\\b"}},         // backslashes not before a quote stay
      {"\"p\" a\\\"b", {"p", "a\"b"}},           // odd backslashes: literal quote
      {"\"p\" \"a\\\\\" b", {"p", "a\\", "b"}},  // even backslashes: quote closes
      {"\"p\" \"a\"\"b\"", {"p", "a\"b"}},       // doubled quote inside quotes
      {"\"p\" \"\"", {"p", ""}},                 // empty quoted argument
      {"\"p\" ab\"c d\"e", {"p", "abc de"}},
      {"\"p\\\" x", {"p\\", "x"}}  // program name keeps backslashes
  };
  for (const Case& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.expected) << c.line;
}

}  // namespace
}  // namespace velinst
