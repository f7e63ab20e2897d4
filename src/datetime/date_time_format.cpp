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

}  // namespace

std::string CDateTime::Format(std::string_view pattern) const {
  std::string out;
  out.reserve(pattern.size() + 32);
  const std::tm& f = fields_;
  std::size_t position = 0;
  while (position < pattern.size()) {
    const char letter = pattern[position];
    std::size_t run = 1;
    switch (letter) {
      case 'd':
        run = pattern::RunLength(pattern, position, letter, 4);
        if (run >= 3)
          AppendName(out, kDayNames, f.tm_wday, run == 4);
        else
          AppendNumber(out, f.tm_mday, run == 2 ? 2 : 0);
        break;
      case 'f':
      case 'F': {
        run = pattern::RunLength(pattern, position, letter, 7);
        const std::int64_t value = FractionDigits(milliseconds_, run);
        if (letter == 'f' || value != 0) AppendNumber(out, value, static_cast<int>(run));
        break;
      }
      case 'g':
        run = pattern::RunLength(pattern, position, letter, 2);
        out += "A.D.";
        break;
      case 'h':
        // 12-hour clock: 0 and 12 show as 12.
        run = pattern::RunLength(pattern, position, letter, 2);
        AppendNumber(out, f.tm_hour % 12 == 0 ? 12 : f.tm_hour % 12, run == 2 ? 2 : 0);
        break;
      case 'H':
        run = pattern::RunLength(pattern, position, letter, 2);
        AppendNumber(out, f.tm_hour, run == 2 ? 2 : 0);
        break;
      case 'K':
      case 'z':
        run = letter == 'K' ? 1 : pattern::RunLength(pattern, position, letter, 3);
        AppendZone(out, letter, run);
        break;
      case 'm':
        run = pattern::RunLength(pattern, position, letter, 2);
        AppendNumber(out, f.tm_min, run == 2 ? 2 : 0);
        break;
      case 'M':
        run = pattern::RunLength(pattern, position, letter, 4);
        if (run >= 3)
          AppendName(out, kMonthNames, f.tm_mon, run == 4);
        else
          AppendNumber(out, f.tm_mon + 1, run == 2 ? 2 : 0);
        break;
      case 's':
        run = pattern::RunLength(pattern, position, letter, 2);
        AppendNumber(out, f.tm_sec, run == 2 ? 2 : 0);
        break;
      case 't':
        // Hour 12 still counts as morning here: the boundary is 13.
        run = pattern::RunLength(pattern, position, letter, 2);
        out += f.tm_hour < 13 ? (run == 2 ? "AM" : "A") : (run == 2 ? "PM" : "P");
        break;
      case 'y': {
        run = pattern::RunLength(pattern, position, letter, 5);
        const int year = f.tm_year + 1900;
        if (run >= 3)
          AppendNumber(out, year, static_cast<int>(run));
        else
          AppendNumber(out, year % 100, run == 2 ? 2 : 0);
        break;
      }
      default:
        position = pattern::FormatTail(pattern, position, out);
        continue;
    }
    position += run;
  }
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
