#include "platform/file_time.h"

#include <gtest/gtest.h>

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
      {981173106, 700000000, 126256467067000000},  // 2001-02-03 04:05:06.7
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

}  // namespace
}  // namespace velinst
