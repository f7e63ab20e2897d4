// The answer parsers of the administrative methods: a list of records
// inside a wrapper element, or one record element of the answer itself.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/ascii_text.h"
#include "webclient/rk_parser.h"

namespace velinst {

// Offered one child of the answer at a time: each is a wrapper whose own
// name is not looked at, holding records of type T. The records are read
// up to the first child that is not a T element.
template <typename T>
class CRKADList : public IRKParser {
 public:
  void Parse(CXMLNodeCursor& cursor) override {
    SetFilled();
    for (CXMLNodeCursor* item = cursor.ChildCursor(); item != nullptr;) {
      if (!EqualIgnoringAsciiCase(item->Name(), T::ElementName())) return;
      T record;
      ReadRecordChildren(*item, record);
      ReadRecordAttributes(*item, record);
      list_.push_back(std::move(record));
      if (!item->NextSibling()) return;
    }
  }

  const std::vector<T>& List() const { return list_; }

 private:
  std::vector<T> list_;
};

// Reads the child elements of a T element of the answer itself (not its
// attributes); a second one overwrites the fields it names.
template <typename T>
class CRKADRecord : public IRKParser {
 public:
  void Parse(CXMLNodeCursor& cursor) override {
    if (!EqualIgnoringAsciiCase(cursor.Name(), T::ElementName())) return;
    SetFilled();
    ReadRecordChildren(cursor, record_);
  }

  const T& Record() const { return record_; }

 private:
  T record_;
};

// Keeps the markup of the element it was offered last: a "gpx" answer
// whole, else the last child of the "rsp" element.
class CRKADGPXHack : public IRKParser {
 public:
  void Parse(CXMLNodeCursor& cursor) override { markup_ = cursor.Xml(); }

  const std::string& Markup() const { return markup_; }

 private:
  std::string markup_;
};

}  // namespace velinst
