// The fields of an administrative record, described once per record type:
// answers fill them by name, and a sent record's document writes them in
// the same order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "platform/ascii_text.h"
#include "webclient/answer_values.h"

namespace velinst {

template <typename Record>
using CRKADFieldMember =
    std::variant<std::int32_t Record::*, float Record::*, double Record::*, bool Record::*, std::string Record::*>;

template <typename Record>
struct CRKADField {
  const char* name;
  CRKADFieldMember<Record> member;
};

// Stores `value` in the field called `name` (in any letter case); false,
// changing nothing, when the record has no such field.
template <typename Record>
bool SetRecordField(Record& record, std::span<const CRKADField<Record>> fields, std::string_view name,
                    std::string_view value) {
  for (const CRKADField<Record>& field : fields) {
    if (!EqualIgnoringAsciiCase(field.name, name)) continue;
    std::visit(
        [&](auto member) {
          auto& target = record.*member;
          using Value = std::remove_reference_t<decltype(target)>;
          if constexpr (std::is_same_v<Value, std::int32_t>)
            target = LeadingIntegerValue(value);
          else if constexpr (std::is_same_v<Value, float>)
            target = LeadingSingleValue(value);
          else if constexpr (std::is_same_v<Value, double>)
            target = LeadingRealValue(value);
          else if constexpr (std::is_same_v<Value, bool>)
            target = FlagValue(value);
          else
            target = std::string(value);
        },
        field.member);
    return true;
  }
  return false;
}

// How a record's request document is laid out.
struct CRKADDocumentLayout {
  const char* element;
  // Put before every line between the opening and the closing tag.
  const char* indent;
  // The server picks the id of a new record: documents that must not
  // change it carry the first field, Id, commented out.
  bool idCommentedOut;
};

// The lines of a request document, each ending in a line feed: integers
// in decimal, reals with six decimals, flags as "true" or "false", texts as
// stored (callers escape them).
void AppendLine(std::string& document, std::string_view indent, std::string_view name, std::string_view text);
// "<!-- <name>text</name> -->"
void AppendCommentedLine(std::string& document, std::string_view indent, std::string_view name, std::string_view text);
std::string FieldText(std::int32_t value);
std::string FieldText(float value);
std::string FieldText(double value);
std::string FieldText(bool value);
inline const std::string& FieldText(const std::string& value) { return value; }

template <typename Record>
std::string RecordDocument(const Record& record, std::span<const CRKADField<Record>> fields,
                           const CRKADDocumentLayout& layout) {
  std::string document = std::string("<") + layout.element + ">\n";
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::string text =
        std::visit([&](auto member) { return std::string(FieldText(record.*member)); }, fields[i].member);
    if (i == 0 && layout.idCommentedOut)
      AppendCommentedLine(document, layout.indent, fields[i].name, text);
    else
      AppendLine(document, layout.indent, fields[i].name, text);
  }
  return document.append("</").append(layout.element).append(">\n");
}

}  // namespace velinst
