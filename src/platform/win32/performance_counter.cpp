#include "platform/performance_counter.h"

#include <windows.h>

namespace velinst::platform {

std::int64_t PerformanceCounter() {
  LARGE_INTEGER counter;
  ::QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}

std::int64_t PerformanceFrequency() {
  LARGE_INTEGER frequency;
  // Cannot fail on any system since Windows XP; the guard keeps division safe.
  if (!::QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0) return 1;
  return frequency.QuadPart;
}

}  // namespace velinst::platform
