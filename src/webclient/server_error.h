// Server errors: the error element of an answer ("rsp" with status="err")
// and its translation into a result code.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "webclient/rk_parser.h"

namespace velinst {

// Reads the "type" and "msg" attributes of the error element.
class CRKErr : public IRKParser {
 public:
  CRKErr() = default;
  CRKErr(const CRKErr&) = default;
  CRKErr& operator=(const CRKErr&) = default;

  void Parse(CXMLNodeCursor& cursor) override;

  const std::string& Type() const { return type_; }
  const std::string& Message() const { return message_; }

 private:
  std::string type_;
  std::string message_;
};

// A server error with its result code; Send throws and catches it by value.
class CRKException : public CRKErr {
 public:
  explicit CRKException(const CRKErr& error);

  std::int32_t Code() const { return code_; }

 private:
  std::int32_t code_;
};

// The result code of a server error type (compared without regard to
// case); kRKUnknownServerError for a type that is not in the table.
std::int32_t ServerErrorCode(std::string_view type);

}  // namespace velinst
