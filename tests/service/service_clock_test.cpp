#include "service_clock.h"

#include <gtest/gtest.h>

namespace velinst::service {
namespace {

TEST(ServiceClock, TimestampsRoundTripAndParseTheFormsClientsSend) {
  for (const std::int64_t seconds : {0LL, 951782400LL /* 2000-02-29 */, 1714566896LL, 4102444799LL})
    EXPECT_EQ(ParseTimestamp(FormatTimestamp(seconds)), seconds) << FormatTimestamp(seconds);
  EXPECT_EQ(FormatTimestamp(1714566896), "2024-05-01T12:34:56Z");
  // The forms clients send.
  EXPECT_EQ(ParseTimestamp("2024-05-01T12:34:56"), 1714566896);
  EXPECT_EQ(ParseTimestamp("2024-05-01 12:34:56.250Z"), 1714566896);
  EXPECT_EQ(ParseTimestamp("2024-05-01"), 1714521600);
  for (const char* bad : {"", "2024-5-01", "2024-02-30", "2023-02-29", "2024-05-01T24:00:00", "2024-05-01T12:34",
                          "2024-05-01T12:34:56+02:00", "2024-05-01T12:34:56.", "yesterday"})
    EXPECT_FALSE(ParseTimestamp(bad).has_value()) << bad;
}

}  // namespace
}  // namespace velinst::service
