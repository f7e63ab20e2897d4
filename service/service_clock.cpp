#include "service_clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace velinst::service {
namespace {

bool ReadNumber(std::string_view text, std::size_t& at, std::size_t digits, int& value) {
  if (text.size() - at < digits) return false;
  value = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    const char c = text[at + i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  at += digits;
  return true;
}

bool Expect(std::string_view text, std::size_t& at, char wanted) {
  if (at >= text.size() || text[at] != wanted) return false;
  ++at;
  return true;
}

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const auto yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

std::int64_t ServiceClock::Now() const {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::seconds>(now).count() + offset_.load();
}

std::string FormatTimestamp(std::int64_t seconds) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm parts{};
  gmtime_r(&time, &parts);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", parts.tm_year + 1900, parts.tm_mon + 1,
                parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
  return text;
}

std::optional<std::int64_t> ParseTimestamp(std::string_view text) {
  std::size_t at = 0;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (!ReadNumber(text, at, 4, year) || !Expect(text, at, '-') || !ReadNumber(text, at, 2, month) ||
      !Expect(text, at, '-') || !ReadNumber(text, at, 2, day))
    return std::nullopt;
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return std::nullopt;
  if (at < text.size()) {
    if (text[at] != 'T' && text[at] != ' ') return std::nullopt;
    ++at;
    if (!ReadNumber(text, at, 2, hour) || !Expect(text, at, ':') || !ReadNumber(text, at, 2, minute) ||
        !Expect(text, at, ':') || !ReadNumber(text, at, 2, second))
      return std::nullopt;
    if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
    if (at < text.size() && text[at] == '.') {
      ++at;
      const std::size_t digits = at;
      while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
      if (at == digits) return std::nullopt;
    }
    if (at < text.size() && text[at] == 'Z') ++at;
  }
  if (at != text.size()) return std::nullopt;
  return DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 86400 + hour * 3600 +
         minute * 60 + second;
}

}  // namespace velinst::service
