// CTimeSpan: a signed duration in seconds, held as a double whose fraction
// carries the milliseconds and below.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "datetime/date_time_names.h"

namespace velinst {

class CTimeSpan {
 public:
  constexpr CTimeSpan() = default;
  constexpr explicit CTimeSpan(double seconds) : seconds_(seconds) {}
  CTimeSpan(int days, int hours, int minutes, int seconds, int milliseconds);

  static CTimeSpan FromDays(int days);
  static CTimeSpan FromHours(int hours);
  static CTimeSpan FromMinutes(int minutes);
  static CTimeSpan FromSeconds(int seconds);
  static CTimeSpan FromMilliseconds(int milliseconds);
  // Periods of four days; kept for callers that count in them.
  static CTimeSpan FromFourDayPeriods(int periods);

  constexpr double Seconds() const { return seconds_; }

  // Each truncated toward zero, saturating at the limits of 32 bits.
  std::int32_t TotalDays() const;
  std::int32_t TotalHours() const;
  std::int32_t TotalMinutes() const;
  std::int32_t TotalSeconds() const;
  std::int32_t TotalMilliseconds() const;

  CTimeSpan& operator+=(const CTimeSpan& other) {
    seconds_ += other.seconds_;
    return *this;
  }
  CTimeSpan& operator-=(const CTimeSpan& other) {
    seconds_ -= other.seconds_;
    return *this;
  }
  CTimeSpan& operator*=(double factor) {
    seconds_ *= factor;
    return *this;
  }
  CTimeSpan& operator/=(double divisor) {
    seconds_ /= divisor;
    return *this;
  }

  // Blocks the calling thread for the span (a negative one returns at
  // once); false when the timer cannot be set up or the wait fails.
  bool Sleep() const;

  std::string Format(std::string_view pattern = kPatternTimeSpan) const;

 private:
  double seconds_ = 0;
};

}  // namespace velinst
