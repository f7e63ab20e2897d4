#include <gtest/gtest.h>

#include "velinst.h"

namespace {

// The host has no shell autoplay: the start returns at once, without a loop.
TEST(AutoplaySystem, HostTakesNoDriveAndReturnsAtOnce) {
  EXPECT_EQ(VEL_AutoplayStart(), 0);
  EXPECT_EQ(VEL_AutoplayStop(), 0);
}

}  // namespace
