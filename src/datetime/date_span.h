// CDateSpan: a duration in calendar units, added to a date-time field by
// field (so a month is as long as the calendar makes it).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "datetime/date_time_names.h"

namespace velinst {

class CDateSpan {
 public:
  constexpr CDateSpan() = default;
  constexpr CDateSpan(std::int32_t years, std::int32_t months, std::int32_t weeks, std::int32_t days,
                      std::int32_t hours, std::int32_t minutes, std::int32_t seconds, std::int32_t milliseconds)
      : years_(years),
        months_(months),
        weeks_(weeks),
        days_(days),
        hours_(hours),
        minutes_(minutes),
        seconds_(seconds),
        milliseconds_(milliseconds) {}

  static constexpr CDateSpan FromYears(std::int32_t n) { return CDateSpan(n, 0, 0, 0, 0, 0, 0, 0); }
  static constexpr CDateSpan FromMonths(std::int32_t n) { return CDateSpan(0, n, 0, 0, 0, 0, 0, 0); }
  static constexpr CDateSpan FromWeeks(std::int32_t n) { return CDateSpan(0, 0, n, 0, 0, 0, 0, 0); }
  static constexpr CDateSpan FromDays(std::int32_t n) { return CDateSpan(0, 0, 0, n, 0, 0, 0, 0); }
  static constexpr CDateSpan FromHours(std::int32_t n) { return CDateSpan(0, 0, 0, 0, n, 0, 0, 0); }
  static constexpr CDateSpan FromMinutes(std::int32_t n) { return CDateSpan(0, 0, 0, 0, 0, n, 0, 0); }
  static constexpr CDateSpan FromSeconds(std::int32_t n) { return CDateSpan(0, 0, 0, 0, 0, 0, n, 0); }
  static constexpr CDateSpan FromMilliseconds(std::int32_t n) { return CDateSpan(0, 0, 0, 0, 0, 0, 0, n); }

  constexpr std::int32_t Years() const { return years_; }
  constexpr std::int32_t Months() const { return months_; }
  constexpr std::int32_t Weeks() const { return weeks_; }
  constexpr std::int32_t Days() const { return days_; }
  constexpr std::int32_t Hours() const { return hours_; }
  constexpr std::int32_t Minutes() const { return minutes_; }
  constexpr std::int32_t Seconds() const { return seconds_; }
  constexpr std::int32_t Milliseconds() const { return milliseconds_; }

  // Field by field, saturating at the limits of 32 bits.
  CDateSpan& operator+=(const CDateSpan& other);
  CDateSpan& operator-=(const CDateSpan& other);
  CDateSpan& operator*=(std::int32_t factor);

  std::string Format(std::string_view pattern = kPatternDateSpan) const;

 private:
  std::array<std::int32_t*, 8> Fields() {
    return {&years_, &months_, &weeks_, &days_, &hours_, &minutes_, &seconds_, &milliseconds_};
  }
  std::array<std::int32_t, 8> Values() const {
    return {years_, months_, weeks_, days_, hours_, minutes_, seconds_, milliseconds_};
  }

  std::int32_t years_ = 0;
  std::int32_t months_ = 0;
  std::int32_t weeks_ = 0;
  std::int32_t days_ = 0;
  std::int32_t hours_ = 0;
  std::int32_t minutes_ = 0;
  std::int32_t seconds_ = 0;
  std::int32_t milliseconds_ = 0;
};

}  // namespace velinst
