#include "webclient/ad_record_fields.h"

#include <limits>

#include "webclient/parameter_list.h"
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

void AppendLine(std::string& document, std::string_view indent, std::string_view name, std::string_view text) {
  document.append(indent).append("<").append(name).append(">").append(text).append("</").append(name).append(">\n");
}

void AppendCommentedLine(std::string& document, std::string_view indent, std::string_view name, std::string_view text) {
  document.append(indent).append("<!-- <").append(name).append(">").append(text).append("</").append(name).append(
      "> -->\n");
}

std::string FieldText(std::int32_t value) { return DecimalText(value); }
// "%f" of the float's own value: 47.1f is written 47.099998.
std::string FieldText(float value) { return FixedText(value); }
std::string FieldText(double value) { return FixedText(value); }
std::string FieldText(bool value) { return BooleanText(value); }

}  // namespace velinst
