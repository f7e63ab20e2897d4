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

// What a holder reports: its system code, application id and text, or
// nothing for each that is not set.
std::string Held(const CLastErr& error) {
  std::uint32_t code = 0, id = 0;
  const char* text = "";
  const bool hasCode = error.GetSystemCode(code), hasId = error.GetAppErrorId(id), hasText = error.GetText(text);
  return (hasCode ? std::to_string(code) : "-") + " " + (hasId ? std::to_string(id) : "-") + " " +
         (hasText ? text : "-");
}

TEST(LastErr, HolderKeepsWhatWasSetUntilReset) {
  platform::SetLastError(5);
  CLastErr error;  // holds the system code 5
  error.SetAppErrorId(9);
  error.SetText(std::string(300, 'x').c_str());
  error.SetText(nullptr);  // a null text changes nothing
  EXPECT_EQ(Held(error), "5 9 " + std::string(255, 'x'));
  error.Reset();
  EXPECT_EQ(Held(error), "- - -");
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
  ASSERT_EQ(Raised([&] { error.RaiseText("broken"); }), &error);
  EXPECT_EQ(Held(error), "- - broken");
  source.SetAppErrorId(9);
  ASSERT_EQ(Raised([&] { target.RaiseCopy(source); }), &target);
  EXPECT_EQ(Held(target), "- 9 copied");
  platform::SetLastError(5);
  ASSERT_EQ(Raised([&] { target.RaiseLastError(); }), &target);
  EXPECT_EQ(Held(target).substr(0, 2), "5 ");
}

}  // namespace
}  // namespace velinst
