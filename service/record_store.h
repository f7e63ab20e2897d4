// Records of the administrative methods between posted documents, tables
// and answers, driven by their RecordType.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "answer_writer.h"
#include "record_types.h"
#include "sqlite_database.h"

namespace velinst::service {

// Stored texts longer than this are refused: a client copies answer texts
// into buffers of 1024 bytes.
inline constexpr std::size_t kMaxTextLength = 1023;

using FieldValue = std::variant<std::int64_t, double, std::string>;

// The fields a posted record document carries (child elements of its root,
// named as the record's fields in any case), converted and checked. The Id
// is never taken from a document.
class PostedRecord {
 public:
  // Throws ServiceError: MissingParameterException for an empty body,
  // ParameterException for a document that is not this record or a value
  // of the wrong kind, ParameterOutOfRangeException for a text too long.
  static PostedRecord Read(std::string_view body, const RecordType& type);

  const RecordType& Type() const { return *type_; }
  bool Has(std::string_view field) const { return Find(field) != nullptr; }
  // The stored text of a text field; empty when absent.
  std::string Text(std::string_view field) const;
  std::int64_t Integer(std::string_view field) const;
  double Real(std::string_view field) const;
  // Replaces or adds a value (the service's own, not the sender's).
  void Set(std::string_view field, FieldValue value);
  void Remove(std::string_view field);

  const std::vector<std::pair<const RecordField*, FieldValue>>& Values() const { return values_; }

 private:
  const FieldValue* Find(std::string_view field) const;

  const RecordType* type_ = nullptr;
  std::vector<std::pair<const RecordField*, FieldValue>> values_;
};

struct ExtraColumn {
  const char* column;
  FieldValue value;
};

// Inserts a record: fields the document left out take their column's
// default. Returns the new row id.
std::int64_t InsertRecord(Database& database, const PostedRecord& record, std::initializer_list<ExtraColumn> extras);
// Changes only the fields the document carried, in the row whose
// `keyColumn` is `key`.
void UpdateRecord(Database& database, const PostedRecord& record, const char* keyColumn, std::int64_t key);

// "SELECT <the record's columns> FROM <its table> " + tail.
std::string SelectRecordSql(const RecordType& type, std::string_view tail);
// Writes one row selected with SelectRecordSql as the record's element.
void WriteRecordRow(AnswerWriter& answer, const RecordType& type, const Statement& row);

// Writes every row that SelectRecordSql(type, tail) finds; their count.
template <typename... Args>
int WriteRecords(Database& database, AnswerWriter& answer, const RecordType& type, std::string_view tail,
                 const Args&... args) {
  Statement rows = database.Query(SelectRecordSql(type, tail), args...);
  int count = 0;
  for (; rows.Step(); ++count) WriteRecordRow(answer, type, rows);
  return count;
}

// Checks a text that arrived in the query for the length limit.
void CheckTextLength(std::string_view name, std::string_view storedText, std::size_t limit = kMaxTextLength);

}  // namespace velinst::service
