// Format of the two span types: a time span's days, hours, minutes, seconds
// and fractions, and a date span's fields as plain numbers.
#include "datetime/date_span.h"
#include "datetime/pattern_output.h"
#include "datetime/span_seconds.h"
#include "datetime/time_span.h"

namespace velinst {

std::string CTimeSpan::Format(std::string_view pattern) const {
  std::string out;
  out.reserve(pattern.size() + 16);
  if (seconds_ < 0) out += '-';
  // Formatted as its absolute value; the span itself is left as it is.
  const SpanSeconds span = SpanSeconds::Split(seconds_ < 0 ? -seconds_ : seconds_);
  const std::int64_t s = span.whole;
  std::size_t position = 0;
  while (position < pattern.size()) {
    const char letter = pattern[position];
    std::size_t run = 0;
    switch (letter) {
      case 'd':
        run = pattern::RunLength(pattern, position, letter, 3);
        pattern::AppendNumber(out, s / 86400, run == 1 ? 0 : static_cast<int>(run));
        break;
      case 'h':
      case 'H':
        run = pattern::RunLength(pattern, position, letter, 3);
        if (run == 3)
          pattern::AppendNumber(out, s / 3600);
        else
          pattern::AppendNumber(out, s / 3600 % 24, run == 2 ? 2 : 0);
        break;
      case 'm':
        run = pattern::RunLength(pattern, position, letter, 3);
        if (run == 3)
          pattern::AppendNumber(out, s / 60, 2);
        else
          pattern::AppendNumber(out, s / 60 % 60, run == 2 ? 2 : 0);
        break;
      case 's':
        run = pattern::RunLength(pattern, position, letter, 3);
        if (run == 3)
          pattern::AppendNumber(out, s);
        else
          pattern::AppendNumber(out, s % 60, run == 2 ? 2 : 0);
        break;
      case 'f':
        run = pattern::RunLength(pattern, position, letter, 4);
        if (run == 4)
          pattern::AppendNumber(out, span.TotalMilliseconds());
        else if (run == 3)
          pattern::AppendNumber(out, span.microseconds / 1000, 3);
        else if (run == 2)
          pattern::AppendNumber(out, span.microseconds / 10000, 2);
        else
          pattern::AppendNumber(out, span.microseconds / 100000, 1);
        break;
      default:
        position = pattern::FormatTail(pattern, position, out);
        continue;
    }
    position += run;
  }
  return out;
}

std::string CDateSpan::Format(std::string_view pattern) const {
  std::string out;
  out.reserve(pattern.size() + 16);
  std::size_t position = 0;
  while (position < pattern.size()) {
    std::int32_t field = 0;
    switch (pattern[position]) {
      case 'y':
        field = years_;
        break;
      case 'M':
        field = months_;
        break;
      case 'w':
        field = weeks_;
        break;
      case 'd':
        field = days_;
        break;
      case 'h':
        field = hours_;
        break;
      case 'm':
        field = minutes_;
        break;
      case 's':
        field = seconds_;
        break;
      case 'f':
        field = milliseconds_;
        break;
      default:
        position = pattern::FormatTail(pattern, position, out);
        continue;
    }
    pattern::AppendNumber(out, field);
    ++position;
  }
  return out;
}

}  // namespace velinst
