// The platform's high-resolution counter: QueryPerformanceCounter on
// Windows, the monotonic clock in nanoseconds on the host.
#pragma once

#include <cstdint>

namespace velinst::platform {

std::int64_t PerformanceCounter();
// Counts per second; never 0.
std::int64_t PerformanceFrequency();

}  // namespace velinst::platform
