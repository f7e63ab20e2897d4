#include <gtest/gtest.h>

#include "platform/cdos.h"

namespace velinst {
namespace {

// The host names no drive by letter.
TEST(DriveSystem, HostHasNoDrivesToListOrEject) {
  std::vector<DriveInventoryRecord> records;
  CDOS().ListDrives(records);
  EXPECT_TRUE(records.empty());
  for (const char letter : {'A', 'C', 'D', 'Z'}) {
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(CDOS().Eject(letter), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Cannot eject.  Drive type is incorrect.\n");
  }
}

}  // namespace
}  // namespace velinst
