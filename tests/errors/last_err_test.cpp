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
  const struct {
    const char* text;
    std::uint32_t appId;
    const char* expected;
    int result;
    std::size_t size;
  } cases[] = {{"abcdef", 5, "abc", 1, 4},  // cut to the buffer
               {nullptr, 255, "Application error id = 0xff", 1, 256},
               {nullptr, 0, "Unknown error", 0, 256}};
  for (const auto& c : cases) {
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
  EXPECT_TRUE(error.GetSystemCode(code) && code == 2u) << code;
  int result = 0;
  const std::string text = Described(error, result);
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(!text.empty() && text.back() != '\n' && text.back() != '\r') << text;
}

TEST(LastErr, SetTextKeepsFirst255Characters) {
  const std::string longText(300, 'x');
  CLastErr error(longText.c_str());
  const char* held = nullptr;
  ASSERT_TRUE(error.GetText(held));
  EXPECT_EQ(std::string(held), std::string(255, 'x'));
  error.SetText(nullptr);
  EXPECT_TRUE(error.GetText(held) && std::strlen(held) == 255u) << "a null text changes nothing";
}

TEST(LastErr, GettersReportOnlySetValuesAndResetClearsThem) {
  platform::SetLastError(5);
  CLastErr error;  // holds the system code 5
  error.SetAppErrorId(9);
  error.SetText("set");
  std::uint32_t code = 0, id = 0;
  const char* text = nullptr;
  EXPECT_TRUE(error.GetSystemCode(code) && error.GetAppErrorId(id) && error.GetText(text));
  EXPECT_EQ(std::to_string(code) + " " + std::to_string(id) + " " + text, "5 9 set");
  error.Reset();
  code = id = 77;
  text = "untouched";
  EXPECT_FALSE(error.GetSystemCode(code) || error.GetAppErrorId(id) || error.GetText(text));
  EXPECT_EQ(std::to_string(code) + " " + std::to_string(id) + " " + text, "77 77 untouched");
}

template <typename Raise>
CLastErr* Raised(Raise raise) {
  try {
    raise();
  } catch (CLastErr* raised) {
    return raised;
  }
  return nullptr;
}

TEST(LastErr, RaiseThrowsTheHolderItself) {
  CLastErr error(std::uint32_t{0}), source("copied"), target(std::uint32_t{0});
  const char* text = nullptr;
  ASSERT_EQ(Raised([&] { error.RaiseText("broken"); }), &error);
  ASSERT_TRUE(error.GetText(text));
  EXPECT_STREQ(text, "broken");
  source.SetAppErrorId(9);
  std::uint32_t id = 0, code = 0;
  ASSERT_EQ(Raised([&] { target.RaiseCopy(source); }), &target);
  EXPECT_TRUE(target.GetAppErrorId(id) && id == 9u) << id;
  platform::SetLastError(5);
  ASSERT_EQ(Raised([&] { target.RaiseLastError(); }), &target);
  EXPECT_TRUE(target.GetSystemCode(code) && code == 5u) << code;
}

}  // namespace
}  // namespace velinst
