#include "webclient/parameter_list.h"

#include <charconv>

namespace velinst {

std::string DecimalText(std::int32_t value) { return std::to_string(value); }

std::string FixedText(double value) {
  // The longest double in fixed notation has 309 integer digits.
  char buffer[400];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  if (error != std::errc()) return std::string();
  return std::string(buffer, end);
}

}  // namespace velinst
