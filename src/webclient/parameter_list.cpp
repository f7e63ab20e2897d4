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

void AddOptional(CRKParameterList& parameters, const char* name, const std::optional<std::string>& value) {
  if (value.has_value()) parameters.push_back({name, *value});
}

void AddOptional(CRKParameterList& parameters, const char* name, std::optional<std::int32_t> value) {
  if (value.has_value()) parameters.push_back({name, DecimalText(*value)});
}

void AddOptional(CRKParameterList& parameters, const char* name, std::optional<double> value) {
  if (value.has_value()) parameters.push_back({name, FixedText(*value)});
}

void AddOptional(CRKParameterList& parameters, const char* name, std::optional<bool> value) {
  if (value.has_value()) parameters.push_back({name, BooleanText(*value)});
}

std::string JoinedTexts(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& text : texts) {
    if (&text != &texts.front()) joined += ',';
    joined += text;
  }
  return joined;
}

}  // namespace velinst
