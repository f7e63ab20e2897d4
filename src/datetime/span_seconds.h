// A span's seconds split into whole seconds and microseconds of the same
// sign. The fraction is rounded to the microsecond so that spans built from
// milliseconds (4.005 s) give back their milliseconds, which truncating the
// binary fraction (4.00499...) would not.
#pragma once

#include <cstdint>

namespace velinst {

struct SpanSeconds {
  std::int64_t whole = 0;         // saturating at the limits of 64 bits; 0 for NaN
  std::int64_t microseconds = 0;  // -999999 to 999999

  static SpanSeconds Split(double seconds);
  // Whole milliseconds, truncated toward zero and saturating.
  std::int64_t TotalMilliseconds() const;
};

// Truncation toward zero that saturates instead of overflowing; NaN gives 0.
std::int64_t SaturateToInt64(double value);
std::int32_t SaturateToInt32(std::int64_t value);

}  // namespace velinst
