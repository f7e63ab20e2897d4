// The parsers of answers that carry one value in one element: its text, or
// the id it holds.
#pragma once

#include <cstdint>
#include <string>

#include "webclient/rk_parser.h"

namespace velinst {

// The text of the element called `name`.
class CRKTextElement : public IRKParser {
 public:
  void Parse(CXMLNodeCursor& cursor) override;
  const std::string& Text() const { return text_; }

 protected:
  // `emptyFills`: whether an empty text counts as found.
  CRKTextElement(const char* name, bool emptyFills) : name_(name), emptyFills_(emptyFills) {}

 private:
  const char* name_;
  bool emptyFills_;
  std::string text_;
};

// The decimal id in the element called `name`; found only when not 0, the
// service's answer for "nothing made".
class CRKIdElement : public IRKParser {
 public:
  void Parse(CXMLNodeCursor& cursor) override;
  std::int32_t Id() const { return id_; }

 protected:
  explicit CRKIdElement(const char* name) : name_(name) {}

 private:
  const char* name_;
  std::int32_t id_ = 0;
};

}  // namespace velinst
