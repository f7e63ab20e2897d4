#include "platform/base64.h"
#include "platform/file_time.h"
#include "platform/perf_timer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace velinst {
namespace {

TEST(FileTime, ConvertsUnixInstantsBothWays) {
  struct Case {
    std::int64_t seconds;
    std::uint32_t nanoseconds;
    std::uint64_t ticks;
  };
  const Case cases[] = {
      {0, 0, kFileTimeUnixEpoch},
      {1, 500, kFileTimeUnixEpoch + kFileTimeTicksPerSecond + 5},
      {-kFileTimeUnixEpochSeconds, 0, 0},  // 1601-01-01
      {-86400, 0, kFileTimeUnixEpoch - 86400 * kFileTimeTicksPerSecond},
      {981173106, 700000000, 126256467067000000}  // 2001-02-03 04:05:06.7
  };
  for (const Case& c : cases) {
    const FileTime time = FileTimeFromUnix(c.seconds, c.nanoseconds);
    EXPECT_EQ(time.Ticks(), c.ticks) << c.seconds;
    EXPECT_EQ(UnixSeconds(time), c.seconds);
    EXPECT_EQ(UnixNanoseconds(time), c.nanoseconds / 100 * 100);
  }
}

TEST(FileTime, InstantsOutsideTheRangeSaturate) {
  EXPECT_EQ(FileTimeFromUnix(-kFileTimeUnixEpochSeconds - 1).Ticks(), 0u);
  EXPECT_EQ(FileTimeFromUnix(INT64_MAX / 2).Ticks(), ~0ull);
}

TEST(PerfTimer, StopMeasuresTheSleepAndRunningGrowsWithoutStopping) {
  CPerfTimer timer;
  timer.Start();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const double stopped = timer.Stop();
  EXPECT_GE(stopped, 0.019);
  EXPECT_LT(stopped, 10.0);
  const double first = timer.Running();
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_GE(first, stopped);
  EXPECT_GT(timer.Running(), first);
  EXPECT_EQ(timer.Elapsed(), stopped) << "elapsed repeats the stop without reading the counter";
}

constexpr char kCanary = '\x5a';

// Checks the terminator at the stated size and that nothing past it is written.
std::string Encode(const std::string& bytes) {
  const std::size_t size = Base64EncodedSize(bytes.size());
  std::vector<char> out(size + 4, kCanary);
  Base64Encode(out.data(), reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  EXPECT_EQ(out[size - 1], '\0');
  for (std::size_t i = size; i < out.size(); ++i) EXPECT_EQ(out[i], kCanary) << "wrote past the stated size";
  return std::string(out.data());
}

// Decodes from a buffer of exactly `text.size()` bytes (no terminator to lean on).
std::string Decode(const std::string& text) {
  const std::vector<char> in(text.begin(), text.end());
  const std::size_t capacity = Base64DecodedCapacity(text.size());
  std::vector<std::uint8_t> out(capacity + 4, static_cast<std::uint8_t>(kCanary));
  const std::size_t count = Base64Decode(out.data(), in.data(), in.size());
  EXPECT_LE(count, capacity);
  for (std::size_t i = capacity; i < out.size(); ++i) EXPECT_EQ(out[i], static_cast<std::uint8_t>(kCanary));
  return std::string(reinterpret_cast<const char*>(out.data()), count);
}

TEST(Base64, StandardVectorsBothWays) {
  const struct {
    std::string bytes, text;
  } vectors[] = {{"", ""},
                 {"f", "Zg=="},
                 {"fo", "Zm8="},
                 {"foo", "Zm9v"},
                 {"foob", "Zm9vYg=="},
                 {"fooba", "Zm9vYmE="},
                 {"foobar", "Zm9vYmFy"},
                 {std::string("\xff\xfe\x00", 3), "//4A"}};
  for (const auto& v : vectors) {
    EXPECT_EQ(Encode(v.bytes), v.text);
    EXPECT_EQ(Decode(v.text), v.bytes) << v.text;
  }
  EXPECT_EQ(Base64EncodedSize(16), 25u);
}

TEST(Base64, RoundTripsEveryLengthAndByteValue) {
  std::mt19937 random(4648);
  for (std::size_t length = 0; length < 300; ++length) {
    std::string bytes(length, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    const std::string text = Encode(bytes);
    ASSERT_EQ(text.size(), Base64EncodedSize(length) - 1);
    ASSERT_EQ(Decode(text), bytes) << "length " << length;
  }
}

TEST(Base64, DecodeTakesOnlyWholeGroupsAndBadCharactersSpoilOnlyTheirGroup) {
  const struct {
    std::string text, bytes;
  } cases[] = {
      {"Z", ""},
      {"Zm9", ""},
      {"Zm9vY", "foo"},
      {"Zm9vYmE", "foo"},  // a trailing partial group is not read
      {"YQ==Zm9v", "a"},
      {"YWI=Zm9v", "ab"},
      {"YQ=x", "a"},  // padding ends the text
      // '!' counts as 64: fourth, its seventh bit lands on the third character's lowest; first, above the group.
      {"Zm9!Zm9v",
       "fo\x40"
       "foo"},
      {"!m9vYQ==",
       "\x02oo"
       "a"},
      {std::string("Zm\0vYQ==", 8), "fp/a"}};
  for (const auto& c : cases) EXPECT_EQ(Decode(c.text), c.bytes) << c.text;
}

}  // namespace
}  // namespace velinst
