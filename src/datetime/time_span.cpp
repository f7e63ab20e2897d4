#include "datetime/time_span.h"

#include "datetime/span_seconds.h"
#include "datetime/wait_timer.h"

namespace velinst {
namespace {

constexpr double kSecondsPerMinute = 60;
constexpr double kSecondsPerHour = 3600;
constexpr double kSecondsPerDay = 86400;

}  // namespace

CTimeSpan::CTimeSpan(int days, int hours, int minutes, int seconds, int milliseconds)
    : seconds_(days * kSecondsPerDay + hours * kSecondsPerHour + minutes * kSecondsPerMinute +
               (milliseconds / 1000.0 + seconds)) {}

CTimeSpan CTimeSpan::FromDays(int days) { return CTimeSpan(days * kSecondsPerDay); }
CTimeSpan CTimeSpan::FromHours(int hours) { return CTimeSpan(hours * kSecondsPerHour); }
CTimeSpan CTimeSpan::FromMinutes(int minutes) { return CTimeSpan(minutes * kSecondsPerMinute); }
CTimeSpan CTimeSpan::FromSeconds(int seconds) { return CTimeSpan(static_cast<double>(seconds)); }
CTimeSpan CTimeSpan::FromMilliseconds(int milliseconds) { return CTimeSpan(milliseconds / 1000.0); }
CTimeSpan CTimeSpan::FromFourDayPeriods(int periods) { return CTimeSpan(periods * 4 * kSecondsPerDay); }

std::int32_t CTimeSpan::TotalDays() const { return SaturateToInt32(SpanSeconds::Split(seconds_).whole / 86400); }
std::int32_t CTimeSpan::TotalHours() const { return SaturateToInt32(SpanSeconds::Split(seconds_).whole / 3600); }
std::int32_t CTimeSpan::TotalMinutes() const { return SaturateToInt32(SpanSeconds::Split(seconds_).whole / 60); }
std::int32_t CTimeSpan::TotalSeconds() const { return SaturateToInt32(SpanSeconds::Split(seconds_).whole); }
std::int32_t CTimeSpan::TotalMilliseconds() const {
  return SaturateToInt32(SpanSeconds::Split(seconds_).TotalMilliseconds());
}

bool CTimeSpan::Sleep() const {
  // The timer's due time: relative (negative) in 100-nanosecond units. A
  // negative span gives a positive, absolute due time long past.
  constexpr std::int64_t kTicksPerMillisecond = 10000;
  constexpr std::int64_t kLimit = INT64_MAX / kTicksPerMillisecond;
  std::int64_t milliseconds = SpanSeconds::Split(seconds_).TotalMilliseconds();
  if (milliseconds > kLimit) milliseconds = kLimit;
  if (milliseconds < -kLimit) milliseconds = -kLimit;
  return WaitForDueTime(-milliseconds * kTicksPerMillisecond);
}

}  // namespace velinst
