// The answer parsers of the Account group. Element names are compared
// without regard to case; elements a parser does not know are passed over.
#pragma once

#include <cstdint>
#include <string>

#include "webclient/element_parsers.h"
#include "webclient/rk_parser.h"

namespace velinst {

// "Exists": "True" or "False" in any case; any other text raises
// "Illegal Exists value".
class CRKExists : public IRKParser {
 public:
  void Parse(CXMLNodeCursor& cursor) override;
  bool Exists() const { return exists_; }

 private:
  bool exists_ = false;
};

// "AuthToken".
class CRKAuthToken : public CRKTextElement {
 public:
  CRKAuthToken() : CRKTextElement("AuthToken", true) {}
  const std::string& Token() const { return Text(); }
};

// "CurrentTimeStamp".
class CRKCurrentTimeStamp : public CRKTextElement {
 public:
  CRKCurrentTimeStamp() : CRKTextElement("CurrentTimeStamp", true) {}
  const std::string& TimeStamp() const { return Text(); }
};

// The answer of a sign-in or registration: "AuthToken", "Weight", "Units"
// and "UserID". Filled once a token and a user id arrived (two of those
// elements in all).
class CRKLogin : public IRKParser {
 public:
  void Parse(CXMLNodeCursor& cursor) override;

  const std::string& Token() const { return token_; }
  double Weight() const { return weight_; }
  const std::string& Units() const { return units_; }
  std::int32_t UserId() const { return userId_; }

 private:
  std::int32_t found_ = 0;
  std::string token_;
  double weight_ = 0.0;
  std::string units_;
  std::int32_t userId_ = 0;
};

}  // namespace velinst
