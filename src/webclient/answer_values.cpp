#include "webclient/answer_values.h"

#include <limits>
#include <string>

#include "platform/ascii_text.h"
#include "xml/typed_values.h"

namespace velinst {

std::int32_t LeadingIntegerValue(std::string_view text) {
  CXMLInteger number;
  number.FromString(std::string(text));
  return number.value;
}

double LeadingRealValue(std::string_view text) {
  CXMLDouble number;
  return number.FromString(std::string(text)) ? number.value : 0.0;
}

float LeadingSingleValue(std::string_view text) {
  const double value = LeadingRealValue(text);
  constexpr double kLargest = std::numeric_limits<float>::max();
  constexpr float kInfinity = std::numeric_limits<float>::infinity();
  if (value > kLargest) return kInfinity;
  if (value < -kLargest) return -kInfinity;
  return static_cast<float>(value);
}

bool FlagValue(std::string_view text) { return EqualIgnoringAsciiCase(text, "true"); }

}  // namespace velinst
