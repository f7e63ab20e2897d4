// The answer parser that a service method hands to Send. The envelope
// parser offers it the answer's elements; it keeps what it knows and raises
// format errors on its own CLastErr part.
#pragma once

#include <cstdint>

#include "errors/last_err.h"
#include "platform/ascii_text.h"
#include "xml/node_cursor.h"

namespace velinst {

class IRKParser : public CLastErr {
 public:
  IRKParser() = default;
  virtual ~IRKParser() = default;

  virtual void Parse(CXMLNodeCursor& cursor) = 0;

  // Set once the parser found what it looks for.
  bool IsFilled() const { return filled_ != 0; }

 protected:
  IRKParser(const IRKParser&) = default;
  IRKParser& operator=(const IRKParser&) = default;

  void SetFilled() { filled_ = 1; }

 private:
  std::int32_t filled_ = 0;
};

// Answer element names are compared without regard to letter case.
inline bool ElementNamed(const CXMLNodeCursor& cursor, const char* name) {
  return EqualIgnoringAsciiCase(cursor.Name(), name);
}

// Every child element of the cursor's node, or every attribute, as fields
// of `record` (a type with SetField); names it does not know are passed
// over.
template <typename Record>
void ReadRecordChildren(CXMLNodeCursor& element, Record& record) {
  for (CXMLNodeCursor* child = element.ChildCursor(); child != nullptr;) {
    record.SetField(child->Name(), child->Text());
    if (!child->NextSibling()) break;
  }
}

template <typename Record>
void ReadRecordAttributes(CXMLNodeCursor& element, Record& record) {
  for (CXMLAttributeCursor* attribute = element.AttributeCursor(); attribute != nullptr;) {
    record.SetField(attribute->Name(), attribute->Text());
    if (!attribute->NextAttribute()) break;
  }
}

}  // namespace velinst
