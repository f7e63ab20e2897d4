#include "errors/last_err.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/last_error.h"

namespace velinst {
namespace {

std::string Described(const CLastErr& error, int& result, std::size_t size = 256) {
  std::string buffer(size, '#');
  result = error.Describe(buffer.data(), size);
  return buffer.c_str();
}

TEST(LastErr, DescribeTakesTextThenApplicationIdThenSystemCode) {
  struct Case {
    const char* text;
    std::uint32_t appId;
    const char* expected;
    int result;
    std::size_t size;
  };
  const Case cases[] = {{"abcdef", 5, "abc", 1, 4},  // cut to the buffer
                        {nullptr, 255, "Application error id = 0xff", 1, 256},
                        {nullptr, 0, "Unknown error", 0, 256}};
  for (const Case& c : cases) {
    CLastErr error(std::uint32_t{0});
    error.SetText(c.text);
    error.SetAppErrorId(c.appId);
    int result = -1;
    EXPECT_EQ(Described(error, result, c.size), c.expected);
    EXPECT_EQ(result, c.result);
  }
}

TEST(LastErr, DescribeGivesSystemMessageWithoutTrailingLineBreaks) {
  platform::SetLastError(2);  // file not found on both platforms
  CLastErr error;
  std::uint32_t code = 0;
  ASSERT_TRUE(error.GetSystemCode(code));
  EXPECT_EQ(code, 2u);
  int result = 0;
  const std::string text = Described(error, result);
  EXPECT_EQ(result, 1);
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.back(), '\n');
  EXPECT_NE(text.back(), '\r');
}

TEST(LastErr, SetTextKeepsFirst255Characters) {
  const std::string longText(300, 'x');
  CLastErr error(longText.c_str());
  const char* held = nullptr;
  ASSERT_TRUE(error.GetText(held));
  EXPECT_EQ(std::string(held), std::string(255, 'x'));
  error.SetText(nullptr);
  ASSERT_TRUE(error.GetText(held));
  EXPECT_EQ(std::strlen(held), 255u);
}

TEST(LastErr, GettersReportOnlySetValuesAndResetClearsThem) {
  platform::SetLastError(5);
  CLastErr error;  // holds the system code 5
  error.SetAppErrorId(9);
  error.SetText("set");
  for (int reset = 0; reset < 2; ++reset) {
    std::uint32_t value = 77;
    const char* text = "untouched";
    EXPECT_EQ(error.GetSystemCode(value), reset == 0);
    EXPECT_EQ(error.GetAppErrorId(value), reset == 0);
    EXPECT_EQ(error.GetText(text), reset == 0);
    if (reset == 1) {
      EXPECT_EQ(value, 77u);
      EXPECT_STREQ(text, "untouched");
    }
    error.Reset();
  }
}

TEST(LastErr, RaiseThrowsTheHolderItself) {
  CLastErr error(std::uint32_t{0});
  try {
    error.RaiseText("broken");
    FAIL();
  } catch (CLastErr* raised) {
    EXPECT_EQ(raised, &error);
    const char* text = nullptr;
    ASSERT_TRUE(raised->GetText(text));
    EXPECT_STREQ(text, "broken");
  }
  CLastErr source("copied");
  source.SetAppErrorId(9);
  CLastErr target(std::uint32_t{0});
  try {
    target.RaiseCopy(source);
  } catch (CLastErr* raised) {
    std::uint32_t id = 0;
    EXPECT_EQ(raised, &target);
    EXPECT_TRUE(raised->GetAppErrorId(id));
    EXPECT_EQ(id, 9u);
  }
  platform::SetLastError(5);
  try {
    target.RaiseLastError();
  } catch (CLastErr* raised) {
    std::uint32_t code = 0;
    EXPECT_TRUE(raised->GetSystemCode(code));
    EXPECT_EQ(code, 5u);
  }
}

}  // namespace
}  // namespace velinst
