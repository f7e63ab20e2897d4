#include "webclient/ad_record_fields.h"

#include "webclient/parameter_list.h"

namespace velinst {

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
