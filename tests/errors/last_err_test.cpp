#include "errors/last_err.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/last_error.h"

namespace velinst {
namespace {

// The result followed by the text.
std::string Described(const CLastErr& error, std::size_t size = 256) {
  std::string buffer(size, '#');
  const int result = error.Describe(buffer.data(), size);
  return std::to_string(result) + buffer.c_str();
}

TEST(LastErr, DescribeTakesTextThenApplicationIdThenSystemCode) {
  const struct {
    const char* text;
    std::uint32_t appId;
    const char* expected;
    std::size_t size;
  } cases[] = {{"abcdef", 5, "1abc", 4},  // cut to the buffer
               {nullptr, 255, "1Application error id = 0xff", 256},
               {nullptr, 0, "0Unknown error", 256}};
  for (const auto& c : cases) {
    CLastErr error(std::uint32_t{0});
    error.SetText(c.text);
    error.SetAppErrorId(c.appId);
    EXPECT_EQ(Described(error, c.size), c.expected);
  }
  platform::SetLastError(2);  // file not found on both platforms: the system's text, no line break after it
  const std::string text = Described(CLastErr());
  EXPECT_TRUE(text.size() > 1 && text[0] == '1' && text.back() != '\n' && text.back() != '\r') << text;
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

CLastErr* Raised(const std::function<void()>& raise) try {
  return raise(), nullptr;
} catch (CLastErr* raised) {
  return raised;
}

// A null text changes nothing; a raise throws the holder itself.
TEST(LastErr, HolderKeepsWhatWasSetOrRaisedUntilReset) {
  platform::SetLastError(5);
  CLastErr held;  // holds the system code 5
  held.SetAppErrorId(9);
  held.SetText(std::string(300, 'x').c_str());
  held.SetText(nullptr);
  EXPECT_EQ(Held(held), "5 9 " + std::string(255, 'x'));
  held.Reset();
  EXPECT_EQ(Held(held), "- - -");

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
