#include "record_store.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "posted_document.h"
#include "service_error.h"
#include "text_form.h"
#include "value_text.h"

namespace velinst::service {
namespace {

const RecordField* FieldNamed(const RecordType& type, std::string_view name) {
  for (const RecordField& field : type.fields)
    if (EqualsIgnoringCase(field.name, name)) return &field;
  return nullptr;
}

FieldValue Converted(const RecordField& field, const xmlNode* node) {
  const std::string text = NodeText(node);
  const std::string where = "Field " + std::string(field.name);
  switch (field.kind) {
    case FieldKind::kInteger:
      if (const auto value = IntegerText(text)) return *value;
      throw ServiceError(error_type::kParameter, where + " is not a whole number");
    case FieldKind::kReal:
      if (const auto value = RealValueText(text)) return *value;
      throw ServiceError(error_type::kParameter, where + " is not a number");
    case FieldKind::kBoolean:
      if (const auto value = BooleanText(text)) return static_cast<std::int64_t>(*value ? 1 : 0);
      throw ServiceError(error_type::kParameter, where + " is neither true nor false");
    case FieldKind::kText:
      break;
  }
  std::string stored = EscapeMarkup(text);
  CheckTextLength(field.name, stored);
  return stored;
}

void BindValue(Statement& statement, int index, const FieldValue& value) {
  std::visit([&](const auto& held) { statement.Bind(index, held); }, value);
}

}  // namespace

void CheckTextLength(std::string_view name, std::string_view storedText, std::size_t limit) {
  if (storedText.size() > limit)
    throw ServiceError(error_type::kParameterOutOfRange,
                       std::string(name) + " is longer than " + std::to_string(limit) + " characters");
}

PostedRecord PostedRecord::Read(std::string_view body, const RecordType& type) {
  if (body.find_first_not_of(" \t\r\n") == std::string_view::npos)
    throw ServiceError(error_type::kMissingParameter,
                       "The request carries no " + std::string(type.element) + " document");
  const XmlDocument document = ParsePostedDocument(body);
  const xmlNode* root = xmlDocGetRootElement(document.get());
  if (!EqualsIgnoringCase(NodeName(root), type.element))
    throw ServiceError(error_type::kParameter, "The posted document is not a " + std::string(type.element) + " record");
  PostedRecord record;
  record.type_ = &type;
  for (const xmlNode* child = root->children; child != nullptr; child = child->next) {
    if (child->type != XML_ELEMENT_NODE) continue;
    const RecordField* field = FieldNamed(type, NodeName(child));
    if (field == nullptr || (type.HasId() && field == &type.fields.front())) continue;
    FieldValue value = Converted(*field, child);
    record.Remove(field->name);  // a repeated field: the last one counts
    record.values_.emplace_back(field, std::move(value));
  }
  return record;
}

const FieldValue* PostedRecord::Find(std::string_view field) const {
  for (const auto& [own, value] : values_)
    if (own->name == field) return &value;
  return nullptr;
}

std::string PostedRecord::Text(std::string_view field) const {
  const FieldValue* value = Find(field);
  return value && std::holds_alternative<std::string>(*value) ? std::get<std::string>(*value) : std::string();
}

std::int64_t PostedRecord::Integer(std::string_view field) const {
  const FieldValue* value = Find(field);
  return value && std::holds_alternative<std::int64_t>(*value) ? std::get<std::int64_t>(*value) : 0;
}

double PostedRecord::Real(std::string_view field) const {
  const FieldValue* value = Find(field);
  return value && std::holds_alternative<double>(*value) ? std::get<double>(*value) : 0.0;
}

void PostedRecord::Set(std::string_view field, FieldValue value) {
  const RecordField* own = FieldNamed(*type_, field);
  if (own == nullptr) return;
  Remove(own->name);
  values_.emplace_back(own, std::move(value));
}

void PostedRecord::Remove(std::string_view field) {
  std::erase_if(values_, [&](const auto& entry) { return entry.first->name == field; });
}

std::int64_t InsertRecord(Database& database, const PostedRecord& record, std::initializer_list<ExtraColumn> extras) {
  std::string columns, placeholders;
  auto add = [&](const char* column) {
    columns += columns.empty() ? "" : ", ";
    columns += column;
    placeholders += placeholders.empty() ? "?" : ", ?";
  };
  for (const auto& [field, value] : record.Values()) add(field->column);
  for (const ExtraColumn& extra : extras) add(extra.column);
  const std::string sql = std::string("INSERT INTO ") + record.Type().table +
                          (columns.empty() ? " DEFAULT VALUES" : " (" + columns + ") VALUES (" + placeholders + ")");
  Statement statement = database.Query(sql);
  int index = 0;
  for (const auto& [field, value] : record.Values()) BindValue(statement, ++index, value);
  for (const ExtraColumn& extra : extras) BindValue(statement, ++index, extra.value);
  statement.Run();
  return database.LastInsertId();
}

void UpdateRecord(Database& database, const PostedRecord& record, const char* keyColumn, std::int64_t key) {
  if (record.Values().empty()) return;
  std::string assignments;
  for (const auto& [field, value] : record.Values()) {
    assignments += assignments.empty() ? "" : ", ";
    assignments += std::string(field->column) + " = ?";
  }
  Statement statement = database.Query(std::string("UPDATE ") + record.Type().table + " SET " + assignments +
                                       " WHERE " + keyColumn + " = ?");
  int index = 0;
  for (const auto& [field, value] : record.Values()) BindValue(statement, ++index, value);
  statement.Bind(++index, key);
  statement.Run();
}

std::string SelectRecordSql(const RecordType& type, std::string_view tail) {
  std::string sql = "SELECT ";
  for (const RecordField& field : type.fields) {
    if (&field != &type.fields.front()) sql += ", ";
    sql += field.column;
  }
  sql += " FROM ";
  sql += type.table;
  sql += ' ';
  sql += tail;
  return sql;
}

void WriteRecordRow(AnswerWriter& answer, const RecordType& type, const Statement& row) {
  answer.Open(type.element);
  int column = 0;
  for (const RecordField& field : type.fields) {
    switch (field.kind) {
      case FieldKind::kInteger:
        answer.Element(field.name, row.Integer(column));
        break;
      case FieldKind::kReal:
        answer.Element(field.name, RealText(row.Real(column), 6));
        break;
      case FieldKind::kBoolean:
        answer.Element(field.name, row.Integer(column) != 0 ? "true" : "false");
        break;
      case FieldKind::kText:
        answer.Element(field.name, row.Text(column));
        break;
    }
    ++column;
  }
  answer.Close();
}

}  // namespace velinst::service
