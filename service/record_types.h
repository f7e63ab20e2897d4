// The records the administrative methods send and answer: their element
// names, their fields in answer order, and the table columns behind them.
#pragma once

#include <span>
#include <string_view>

namespace velinst::service {

enum class FieldKind { kInteger, kText, kBoolean, kReal };

struct RecordField {
  std::string_view name;  // element name in documents
  const char* column;
  FieldKind kind;
};

struct RecordType {
  std::string_view element;
  const char* table;
  // The "Id" field, where a record has one, comes first: answers carry it,
  // posted documents never set it (the service assigns ids).
  std::span<const RecordField> fields;

  bool HasId() const { return !fields.empty() && fields.front().name == "Id"; }
};

extern const RecordType kAccountRecord;
extern const RecordType kAccountUserRecord;
extern const RecordType kTeamRecord;
extern const RecordType kTeamMemberRecord;
extern const RecordType kResellerRecord;
extern const RecordType kResellerContactRecord;
extern const RecordType kLiveTrackingPositionRecord;
extern const RecordType kSetPasswordRequestRecord;

}  // namespace velinst::service
