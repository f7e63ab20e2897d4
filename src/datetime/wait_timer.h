// Blocking the calling thread on a one-shot timer: a waitable timer on
// Windows, clock_nanosleep on the host.
#pragma once

#include <cstdint>

namespace velinst {

// Waits until `due`, in the waitable timer's terms: a negative value is that
// many 100-nanosecond units from now, any other an absolute file time (one
// in the past returns at once). False when the timer cannot be set up or
// the wait fails.
bool WaitForDueTime(std::int64_t due);

}  // namespace velinst
