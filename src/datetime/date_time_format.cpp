// CDateTime::Format: the value's calendar fields, milliseconds and zone
// written under a pattern of field letters.
#include <string_view>

#include "datetime/date_time.h"
#include "datetime/pattern_output.h"

namespace velinst {
namespace {

using pattern::AppendNumber;

// A name from a table, whole or its first three letters. Only an instant
// outside the valid range has fields (-1) outside the table: it writes none.
template <std::size_t N>
void AppendName(std::string& out, const std::string_view (&names)[N], int index, bool whole) {
  if (index < 0 || static_cast<std::size_t>(index) >= N) return;
  out.append(whole ? names[index] : names[index].substr(0, 3));
}

// "f" to "fffffff": the milliseconds scaled to the run's number of digits.
std::int64_t FractionDigits(std::uint32_t milliseconds, std::size_t run) {
  static constexpr std::int64_t kPowers[] = {1, 10, 100, 1000, 10000};
  return run >= 3 ? milliseconds * kPowers[run - 3] : milliseconds / kPowers[3 - run];
}

// A run of one or two letters: the number, with width 2 for two.
void AppendShortOrPadded(std::string& out, int value, std::size_t run) { AppendNumber(out, value, run == 2 ? 2 : 0); }

}  // namespace

std::string CDateTime::Format(std::string_view pattern) const {
  std::string out;
  out.reserve(pattern.size() + 32);
  const std::tm& f = fields_;
  pattern::Scan(pattern, out, [&](std::size_t position, std::string& out) -> std::size_t {
    const char letter = pattern[position];
    const auto runOf = [&](std::size_t longest) { return pattern::RunLength(pattern, position, letter, longest); };
    std::size_t run = 0;
    switch (letter) {
      case 'd':
        run = runOf(4);
        if (run >= 3)
          AppendName(out, kDayNames, f.tm_wday, run == 4);
        else
          AppendShortOrPadded(out, f.tm_mday, run);
        return run;
      case 'f':
      case 'F': {
        run = runOf(7);
        const std::int64_t value = FractionDigits(milliseconds_, run);
        if (letter == 'f' || value != 0) AppendNumber(out, value, static_cast<int>(run));
        return run;
      }
      case 'g':
        out += "A.D.";
        return runOf(2);
      case 'h':
        // 12-hour clock: 0 and 12 show as 12.
        run = runOf(2);
        AppendShortOrPadded(out, f.tm_hour % 12 == 0 ? 12 : f.tm_hour % 12, run);
        return run;
      case 'H':
        run = runOf(2);
        AppendShortOrPadded(out, f.tm_hour, run);
        return run;
      case 'K':
        AppendZone(out, letter, 1);
        return 1;
      case 'z':
        run = runOf(3);
        AppendZone(out, letter, run);
        return run;
      case 'm':
        run = runOf(2);
        AppendShortOrPadded(out, f.tm_min, run);
        return run;
      case 'M':
        run = runOf(4);
        if (run >= 3)
          AppendName(out, kMonthNames, f.tm_mon, run == 4);
        else
          AppendShortOrPadded(out, f.tm_mon + 1, run);
        return run;
      case 's':
        run = runOf(2);
        AppendShortOrPadded(out, f.tm_sec, run);
        return run;
      case 't':
        // Hour 12 still counts as morning here: the boundary is 13.
        run = runOf(2);
        out += f.tm_hour < 13 ? (run == 2 ? "AM" : "A") : (run == 2 ? "PM" : "P");
        return run;
      case 'y':
        run = runOf(5);
        if (run >= 3)
          AppendNumber(out, f.tm_year + 1900, static_cast<int>(run));
        else
          AppendShortOrPadded(out, (f.tm_year + 1900) % 100, run);
        return run;
      default:
        return 0;
    }
  });
  return out;
}

// "K", "zzz", "zz" and "z". The offset is written east-positive; only "zzz"
// takes daylight saving into account.
void CDateTime::AppendZone(std::string& out, char letter, std::size_t run) const {
  std::int64_t west = zoneWest_;
  if (letter == 'z' && run == 3 && daylight_ != 0) west -= 60;
  if (local_ == 0 || west == 0) {
    out += letter == 'K' ? "Z" : run == 3 ? "+00:00" : "+00";
    return;
  }
  const std::int64_t magnitude = west < 0 ? -west : west;
  out += west < 0 ? '+' : '-';
  AppendNumber(out, magnitude / 60, letter == 'z' && run == 1 ? 0 : 2);
  if (letter == 'K' || run == 3) {
    out += ':';
    AppendNumber(out, magnitude % 60, 2);
  }
}

}  // namespace velinst
