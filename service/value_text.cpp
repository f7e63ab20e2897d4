#include "value_text.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "text_form.h"

namespace velinst::service {
namespace {

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

std::optional<std::int64_t> IntegerText(std::string_view text) {
  text = Trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::int64_t value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
    return std::nullopt;
  return value;
}

std::optional<double> RealValueText(std::string_view text) {
  text = Trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::optional<bool> BooleanText(std::string_view text) {
  text = Trimmed(text);
  if (EqualsIgnoringCase(text, "true") || text == "1") return true;
  if (EqualsIgnoringCase(text, "false") || text == "0") return false;
  return std::nullopt;
}

}  // namespace velinst::service
