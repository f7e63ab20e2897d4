#include "packlist/text_scan.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

namespace velinst::packlist {
namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void SkipSpace(std::string_view& text) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  text.remove_prefix(i);
}

// Reads an optional sign; true when it is a minus.
bool ScanSign(std::string_view& text) {
  if (text.empty() || (text.front() != '+' && text.front() != '-')) return false;
  const bool negative = text.front() == '-';
  text.remove_prefix(1);
  return negative;
}

// An out-of-range text underflowed when its exponent is negative.
bool Underflowed(std::string_view number) {
  const std::size_t e = number.find_first_of("eE");
  return e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-';
}

}  // namespace

std::optional<std::int32_t> ScanInt(std::string_view& text) {
  std::string_view rest = text;
  SkipSpace(rest);
  const bool negative = ScanSign(rest);
  if (rest.empty() || !IsDigit(rest.front())) return std::nullopt;
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  std::size_t i = 0;
  for (; i < rest.size() && IsDigit(rest[i]); ++i) magnitude = std::min(magnitude * 10 + (rest[i] - '0'), kLimit);
  text = rest.substr(i);
  const std::int64_t value = negative ? -magnitude : std::min(magnitude, kLimit - 1);
  return static_cast<std::int32_t>(value);
}

std::optional<double> ScanReal(std::string_view& text) {
  std::string_view rest = text;
  SkipSpace(rest);
  const bool negative = ScanSign(rest);
  // from_chars takes a minus of its own; a second sign is no number.
  if (rest.empty() || rest.front() == '-' || rest.front() == '+') return std::nullopt;
  double value = 0.0;
  const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
  if (error == std::errc::invalid_argument) return std::nullopt;
  const std::size_t length = static_cast<std::size_t>(end - rest.data());
  if (error == std::errc::result_out_of_range)
    value = Underflowed(rest.substr(0, length)) ? 0.0 : std::numeric_limits<double>::infinity();
  text = rest.substr(length);
  return negative ? -value : value;
}

void CopyField(std::string_view text, char* field, std::size_t size) {
  if (size == 0) return;
  const std::size_t length = std::min(text.size(), size - 1);
  if (length > 0) std::memcpy(field, text.data(), length);  // an empty view may have no data
  field[length] = '\0';
}

std::optional<std::string_view> Tokens::Next(std::string_view delimiters) {
  const std::size_t start = rest_.find_first_not_of(delimiters);
  if (start == std::string_view::npos) {
    rest_ = {};
    return std::nullopt;
  }
  rest_.remove_prefix(start);
  const std::size_t end = std::min(rest_.find_first_of(delimiters), rest_.size());
  const std::string_view token = rest_.substr(0, end);
  rest_.remove_prefix(std::min(end + 1, rest_.size()));
  return token;
}

}  // namespace velinst::packlist
