// Format of the two span types: a time span's days, hours, minutes, seconds
// and fractions, and a date span's fields as plain numbers.
#include "datetime/date_span.h"
#include "datetime/pattern_output.h"
#include "datetime/span_seconds.h"
#include "datetime/time_span.h"

namespace velinst {

using pattern::AppendNumber;

std::string CTimeSpan::Format(std::string_view pattern) const {
  std::string out;
  out.reserve(pattern.size() + 16);
  if (seconds_ < 0) out += '-';
  // Formatted as its absolute value; the span itself is left as it is.
  const SpanSeconds span = SpanSeconds::Split(seconds_ < 0 ? -seconds_ : seconds_);
  const std::int64_t s = span.whole;
  pattern::Scan(pattern, out, [&](std::size_t position, std::string& out) -> std::size_t {
    const char letter = pattern[position];
    const auto runOf = [&](std::size_t longest) { return pattern::RunLength(pattern, position, letter, longest); };
    // Three letters give a total, fewer the part within the next larger unit.
    std::size_t run = 0;
    switch (letter) {
      case 'd':
        run = runOf(3);
        AppendNumber(out, s / 86400, run == 1 ? 0 : static_cast<int>(run));
        return run;
      case 'h':
      case 'H':
        run = runOf(3);
        AppendNumber(out, run == 3 ? s / 3600 : s / 3600 % 24, run == 2 ? 2 : 0);
        return run;
      case 'm':
        run = runOf(3);
        AppendNumber(out, run == 3 ? s / 60 : s / 60 % 60, run == 1 ? 0 : 2);
        return run;
      case 's':
        run = runOf(3);
        AppendNumber(out, run == 3 ? s : s % 60, run == 2 ? 2 : 0);
        return run;
      case 'f':
        run = runOf(4);
        if (run == 4)
          AppendNumber(out, span.TotalMilliseconds());
        else
          AppendNumber(out, span.microseconds / (run == 3 ? 1000 : run == 2 ? 10000 : 100000), static_cast<int>(run));
        return run;
      default:
        return 0;
    }
  });
  return out;
}

std::string CDateSpan::Format(std::string_view pattern) const {
  std::string out;
  out.reserve(pattern.size() + 16);
  pattern::Scan(pattern, out, [&](std::size_t position, std::string& out) -> std::size_t {
    switch (pattern[position]) {
      case 'y':
        AppendNumber(out, years_);
        return 1;
      case 'M':
        AppendNumber(out, months_);
        return 1;
      case 'w':
        AppendNumber(out, weeks_);
        return 1;
      case 'd':
        AppendNumber(out, days_);
        return 1;
      case 'h':
        AppendNumber(out, hours_);
        return 1;
      case 'm':
        AppendNumber(out, minutes_);
        return 1;
      case 's':
        AppendNumber(out, seconds_);
        return 1;
      case 'f':
        AppendNumber(out, milliseconds_);
        return 1;
      default:
        return 0;
    }
  });
  return out;
}

}  // namespace velinst
