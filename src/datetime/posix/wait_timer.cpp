#include "datetime/wait_timer.h"

#include <time.h>

#include <cerrno>

#include "platform/file_time.h"

namespace velinst {
namespace {

constexpr std::int64_t kNanosecondsPerTick = 100;
constexpr std::int64_t kTicksPerSecond = static_cast<std::int64_t>(kFileTimeTicksPerSecond);

}  // namespace

bool WaitForDueTime(std::int64_t due) {
  clockid_t clock = CLOCK_REALTIME;
  timespec deadline{};
  if (due < 0) {
    // Relative waits follow the monotonic clock, as the waitable timer does.
    clock = CLOCK_MONOTONIC;
    if (::clock_gettime(clock, &deadline) != 0) return false;
    const std::uint64_t ticks = 0 - static_cast<std::uint64_t>(due);
    deadline.tv_sec += static_cast<time_t>(ticks / kTicksPerSecond);
    deadline.tv_nsec += static_cast<long>(ticks % kTicksPerSecond * kNanosecondsPerTick);
    if (deadline.tv_nsec >= 1000000000) {
      deadline.tv_sec += 1;
      deadline.tv_nsec -= 1000000000;
    }
  } else {
    const std::int64_t unixTicks = due - static_cast<std::int64_t>(kFileTimeUnixEpoch);
    if (unixTicks < 0) return true;
    deadline.tv_sec = static_cast<time_t>(unixTicks / kTicksPerSecond);
    deadline.tv_nsec = static_cast<long>(unixTicks % kTicksPerSecond * kNanosecondsPerTick);
  }
  int result = 0;
  while ((result = ::clock_nanosleep(clock, TIMER_ABSTIME, &deadline, nullptr)) == EINTR) {
  }
  return result == 0;
}

}  // namespace velinst
