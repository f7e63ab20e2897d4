#include "datetime/span_seconds.h"

#include <cmath>
#include <limits>

namespace velinst {
namespace {

constexpr std::int64_t kMicrosecondsPerSecond = 1000000;
constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kInt64Min = std::numeric_limits<std::int64_t>::min();

}  // namespace

std::int64_t SaturateToInt64(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 9223372036854775807.0) return kInt64Max;
  if (value <= -9223372036854775808.0) return kInt64Min;
  return static_cast<std::int64_t>(value);
}

std::int32_t SaturateToInt32(std::int64_t value) {
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

SpanSeconds SpanSeconds::Split(double seconds) {
  SpanSeconds split;
  if (std::isnan(seconds)) return split;
  const double whole = std::trunc(seconds);
  split.whole = SaturateToInt64(whole);
  if (!std::isfinite(seconds) || split.whole == kInt64Max || split.whole == kInt64Min) return split;
  split.microseconds = std::llround((seconds - whole) * kMicrosecondsPerSecond);
  if (split.microseconds == kMicrosecondsPerSecond || split.microseconds == -kMicrosecondsPerSecond) {
    split.whole += split.microseconds / kMicrosecondsPerSecond;
    split.microseconds = 0;
  }
  return split;
}

std::int64_t SpanSeconds::TotalMilliseconds() const {
  const std::int64_t limit = kInt64Max / 1000;
  if (whole > limit) return kInt64Max;
  if (whole < -limit) return kInt64Min;
  return whole * 1000 + microseconds / 1000;
}

}  // namespace velinst
