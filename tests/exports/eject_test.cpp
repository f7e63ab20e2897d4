#include <gtest/gtest.h>

#include "velinst.h"

namespace {

// The system disk is neither removable nor a CD-ROM drive (and the host has
// no drive letters at all).
TEST(Eject, SystemDiskIsRefusedWithTheDriveTypeMessage) {
  for (const char* drive : {"C", "c:\\"}) {
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(VEL_Eject(drive), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Cannot eject.  Drive type is incorrect.\n");
  }
}

TEST(Eject, NoDriveTextTouchesNoDrive) {
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(VEL_Eject(nullptr), 0);
  EXPECT_EQ(VEL_Eject(""), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

}  // namespace
