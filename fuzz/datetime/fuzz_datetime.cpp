// Patterns and texts from outside: Format of any pattern for the three
// types, and Parse of any pattern and input pair. The first byte picks the
// operation and whether the error and trace lines are printed; for Parse a
// NUL byte separates the pattern from the input.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "datetime/date_time.h"
#include "datetime/time_conversions.h"

namespace {

// The longest output of one pattern character: "K" writes "+05:30".
constexpr std::size_t kMostPerCharacter = 6;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void FormatAll(std::string_view pattern, std::uint8_t choice) {
  velinst::CDateTime value(2009, 3, 5, 14, 7, 9, 0);
  value.SetSeconds(value.Seconds() + choice * 86400 * 37, choice * 4u);
  if (choice & 1) {
    value.SetLocal(1);
    value.SetZoneOffset(choice & 2 ? 330 : -300);
    value.SetDaylight(choice & 4);
  }
  if (choice & 8) value.SetSeconds(velinst::kTimeError, 0);
  const std::size_t bound = kMostPerCharacter * pattern.size() + 16;
  Check(value.Format(pattern).size() <= bound);
  Check(velinst::CTimeSpan(choice & 1 ? -90061.5 : 1e300).Format(pattern).size() <= 20 * pattern.size() + 1);
  Check(velinst::CDateSpan(-2147483647 - 1, 2, 3, 4, 5, 6, 7, 8).Format(pattern).size() <= 11 * pattern.size() + 16);
}

void ParseOne(std::string_view text, bool reports) {
  const std::size_t separator = text.find('\0');
  const std::string_view pattern = text.substr(0, separator);
  const std::string_view input = separator == std::string_view::npos ? std::string_view() : text.substr(separator + 1);
  velinst::CDateTime value(2001, 2, 3, 4, 5, 6, 0);
  const std::int64_t before = value.Seconds();
  value.SetErrorReports(reports);
  value.SetDebugTrace(reports);
  if (value.Parse(pattern, input)) {
    Check(value.Seconds() >= 0 && value.Seconds() <= velinst::kLatestTime);
    Check(value.Local() == 0 && value.Millisecond() == 0);
  } else {
    Check(value.Seconds() == before);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Parsing prints its trace and error lines, which hold the input's bytes,
  // on the standard output; they would bury libFuzzer's own report.
  std::freopen("/dev/null", "w", stdout);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t choice = data[0];
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  if (choice & 0x80)
    ParseOne(rest, (choice & 0x40) != 0);
  else
    FormatAll(rest, choice);
  return 0;
}
