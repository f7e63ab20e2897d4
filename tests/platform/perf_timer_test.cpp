#include "platform/perf_timer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace velinst {
namespace {

TEST(PerfTimer, StopMeasuresAtLeastTheTimeSlept) {
  CPerfTimer timer;
  timer.Start();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const double seconds = timer.Stop();
  EXPECT_GE(seconds, 0.019);
  EXPECT_LT(seconds, 10.0);
  EXPECT_EQ(timer.Elapsed(), seconds) << "elapsed repeats the stop without reading the counter";
}

TEST(PerfTimer, RunningGrowsWithoutStoppingTheWatch) {
  CPerfTimer timer;
  timer.Start();
  const double stopped = timer.Stop();
  const double first = timer.Running();
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  const double second = timer.Running();
  EXPECT_GE(first, stopped);
  EXPECT_GT(second, first);
  EXPECT_EQ(timer.Elapsed(), stopped);
}

TEST(PerfTimer, FreshTimerReportsNothingElapsed) { EXPECT_EQ(CPerfTimer().Elapsed(), 0.0); }

}  // namespace
}  // namespace velinst
