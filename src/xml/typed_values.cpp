#include "xml/typed_values.h"

#include <charconv>
#include <cstdio>
#include <limits>

namespace velinst {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// atoi's reading, widened: the number that the text begins with, or 0;
// saturated at the ends of `low` and `high`.
std::int64_t LeadingInteger(const std::string& text, std::int64_t low, std::int64_t high) {
  const char* p = text.c_str();
  while (IsBlank(*p)) ++p;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  std::int64_t magnitude = 0;
  const std::int64_t limit = negative ? -low : high;
  for (; *p >= '0' && *p <= '9'; ++p) {
    magnitude = magnitude * 10 + (*p - '0');
    if (magnitude > limit) magnitude = limit;
  }
  return negative ? -magnitude : magnitude;
}

template <typename... Args>
std::string Formatted(const char* format, Args... args) {
  const int length = std::snprintf(nullptr, 0, format, args...);
  if (length <= 0) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, args...);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

}  // namespace

bool CXMLInteger::FromString(const std::string& text) {
  value = static_cast<std::int32_t>(
      LeadingInteger(text, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
  return true;
}

std::string CXMLInteger::ToString() const { return Formatted("%d", static_cast<int>(value)); }

bool CXMLUnsigned::FromString(const std::string& text) {
  value = static_cast<std::uint32_t>(
      LeadingInteger(text, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::uint32_t>::max()));
  return true;
}

std::string CXMLUnsigned::ToString() const { return Formatted("%u", static_cast<unsigned>(value)); }

bool CXMLDouble::FromString(const std::string& text) {
  const char* p = text.c_str();
  const char* end = p + text.size();
  while (p < end && IsBlank(*p)) ++p;
  if (p < end && *p == '+') ++p;
  double parsed = 0.0;
  const auto [stop, error] = std::from_chars(p, end, parsed);
  if (error != std::errc() || stop == p) return false;
  value = parsed;
  return true;
}

std::string CXMLDouble::ToString() const { return Formatted("%f", value); }

}  // namespace velinst
