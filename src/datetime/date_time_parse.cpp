// CDateTime::Parse: reads a UTC instant from text laid out as a pattern
// says, with optional trace and error lines on the standard output.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

#include "datetime/date_time.h"
#include "datetime/time_conversions.h"

namespace velinst {
namespace {

// A numeric field longer than this could not be held in an int.
constexpr std::size_t kLongestNumber = 9;
constexpr std::size_t kOffsetLength = 6;  // sign, two digits, colon, two digits

[[gnu::format(printf, 2, 3)]] void PrintIf(bool on, const char* format, ...) {
  if (!on) return;
  va_list arguments;
  va_start(arguments, format);
  std::vprintf(format, arguments);
  va_end(arguments);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

int ToInt(std::string_view digits) { return std::atoi(std::string(digits).c_str()); }

// One call's working state. Every read of the input is bounded by its
// length: a field, name or offset that would run past the end fails like a
// short numeric field.
class PatternParser {
 public:
  PatternParser(std::string_view format, std::string_view input, bool trace, bool reports)
      : format_(format), input_(input), trace_(trace), reports_(reports) {}

  bool Run();

  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int zoneHours = 0;
  int zoneMinutes = 0;
  bool negativeOffset = false;

 private:
  std::size_t RunOf(char letter) const {
    std::size_t length = 0;
    while (at_ + length < format_.size() && format_[at_ + length] == letter) ++length;
    return length;
  }
  std::string_view InputAhead(std::size_t count) const { return input_.substr(read_, count); }
  bool FailShort(const char* name, std::string_view taken) {
    PrintIf(reports_, "Number of %s digits less than format. ('%s')\n", name, std::string(taken).c_str());
    return false;
  }

  bool NumericField(const char* name, char letter, int& field);
  bool MonthName();
  bool DayName();
  bool ZoneOffset();
  bool Literal();

  std::string_view format_;
  std::string_view input_;
  bool trace_;
  bool reports_;
  std::size_t at_ = 0;    // in the format
  std::size_t read_ = 0;  // in the input
};

bool PatternParser::Run() {
  while (at_ < format_.size()) {
    bool matched = true;
    switch (format_[at_]) {
      case 'y':
        matched = NumericField("year", 'y', year);
        break;
      case 'M':
        matched = RunOf('M') >= 3 ? MonthName() : NumericField("month", 'M', month);
        break;
      case 'd':
        matched = RunOf('d') >= 3 ? DayName() : NumericField("day", 'd', day);
        break;
      case 'h':
        matched = NumericField("hour", 'h', hour);
        break;
      case 'H':
        matched = NumericField("hour", 'H', hour);
        break;
      case 'm':
        matched = NumericField("minute", 'm', minute);
        break;
      case 's':
        matched = NumericField("second", 's', second);
        break;
      case 'z':
        matched = ZoneOffset();
        break;
      case 'Z': {
        // Names the zone of the text as UTC; it consumes no input.
        const std::size_t run = RunOf('Z');
        PrintIf(trace_, "offset = '%s'\n", std::string(format_.substr(at_, run)).c_str());
        at_ += run;
        break;
      }
      default:
        matched = Literal();
        break;
    }
    if (!matched) return false;
  }
  if (read_ < input_.size()) {
    PrintIf(reports_, "Extra characters in input string '%s'.\n", std::string(input_.substr(read_)).c_str());
    return false;
  }
  return true;
}

// Exactly as many digits as the run has letters: "M" reads one digit.
bool PatternParser::NumericField(const char* name, char letter, int& field) {
  const std::size_t length = RunOf(letter);
  const std::string run(format_.substr(at_, length));
  PrintIf(trace_, "%s fmt = '%s'\n", name, run.c_str());
  if (length > kLongestNumber) {
    PrintIf(reports_, "Number of %s digits more than 9. ('%s')\n", name, run.c_str());
    return false;
  }
  const std::string_view digits = InputAhead(length);
  if (digits.size() < length) return FailShort(name, digits);
  for (const char c : digits) {
    if (!IsDigit(c)) {
      PrintIf(reports_, "%s digits not all numeric. ('%s')\n", name, std::string(digits).c_str());
      return false;
    }
  }
  field = ToInt(digits);
  at_ += length;
  read_ += length;
  return true;
}

// An English three-letter month name in any letter case.
bool PatternParser::MonthName() {
  const std::string_view name = InputAhead(3);
  if (name.size() < 3) return FailShort("month", name);
  for (std::size_t index = 0; index < std::size(kMonthNames); ++index) {
    const std::string_view known = kMonthNames[index];
    if (Lower(name[0]) == Lower(known[0]) && Lower(name[1]) == Lower(known[1]) && Lower(name[2]) == Lower(known[2])) {
      month = static_cast<int>(index) + 1;
      at_ += 3;
      read_ += 3;
      return true;
    }
  }
  return false;
}

// A day name is passed over unread: the date says which day it is.
bool PatternParser::DayName() {
  const std::string_view name = InputAhead(3);
  if (name.size() < 3) return FailShort("day", name);
  at_ += 3;
  read_ += 3;
  return true;
}

// Sign, two hour digits, colon, two minute digits, whatever the number of z
// letters; any sign character other than '-' counts as plus.
bool PatternParser::ZoneOffset() {
  const std::size_t run = RunOf('z');
  PrintIf(trace_, "offset fmt = '%s'\n", std::string(format_.substr(at_, run)).c_str());
  at_ += run;
  const std::string_view offset = InputAhead(kOffsetLength);
  if (offset.size() < 4) return FailShort("offset", offset);
  negativeOffset = offset[0] == '-';
  zoneHours = ToInt(offset.substr(1, 2));
  if (offset[3] != ':') {
    PrintIf(reports_, "Expecting '%c' found '%c'.\n", ':', offset[3]);
    return false;
  }
  if (offset.size() < kOffsetLength) return FailShort("offset", offset);
  zoneMinutes = ToInt(offset.substr(4, 2));
  read_ += kOffsetLength;
  PrintIf(trace_, "TZ offset hours = %d  minutes = %d  neg = %d\n", zoneHours, zoneMinutes, negativeOffset ? 1 : 0);
  return true;
}

// Any other pattern character, or the one after a backslash, must appear as
// it is in the input. A backslash at the very end matches nothing.
bool PatternParser::Literal() {
  if (format_[at_] == '\\') {
    PrintIf(trace_, "Found escape char\n");
    if (++at_ == format_.size()) return true;
  }
  const char expected = format_[at_];
  PrintIf(trace_, "found char '%c'\n", expected);
  if (read_ >= input_.size()) {
    PrintIf(reports_, "Expecting '%c' found end of input.\n", expected);
    return false;
  }
  if (input_[read_] != expected) {
    PrintIf(reports_, "Expecting '%c' found '%c'.\n", expected, input_[read_]);
    return false;
  }
  ++at_;
  ++read_;
  return true;
}

}  // namespace

bool CDateTime::Parse(std::string_view format, std::string_view input) {
  if (format.empty()) {
    PrintIf(errorReports_, "empty format string.\n");
    return false;
  }
  if (input.empty()) {
    PrintIf(errorReports_, "empty input string.\n");
    return false;
  }
  PrintIf(debugTrace_, "Parsing: '%s'  '%s'\n\n", std::string(format).c_str(), std::string(input).c_str());
  PatternParser parser(format, input, debugTrace_, errorReports_);
  if (!parser.Run()) return false;

  // To UTC: an offset east of it is taken off, one west of it added.
  const int sign = parser.negativeOffset ? 1 : -1;
  const int hour = parser.hour + sign * parser.zoneHours;
  const int minute = parser.minute + sign * parser.zoneMinutes;
  PrintIf(debugTrace_, "Year = %d\nMonth = %d\nDay = %d\nhour = %d\nminute = %d\nsecond = %d\n", parser.year,
          parser.month, parser.day, hour, minute, parser.second);
  // Fields out of their ranges (month 13, hour 25) are normalised.
  CDateTime parsed(parser.year, parser.month, parser.day, hour, minute, parser.second, 0);
  if (parsed.seconds_ == kTimeError) {
    PrintIf(errorReports_, "Date out of range. ('%s')\n", std::string(input).c_str());
    return false;
  }
  *this = parsed;
  return true;
}

}  // namespace velinst
