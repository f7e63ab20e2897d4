// The base of the administrative method groups: one call of a method, with
// the document it posts and the parser that reads its answer.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "webclient/ad_parsers.h"
#include "webclient/request_query.h"
#include "webclient/rk_class.h"

namespace velinst {

// A method's result code and what its parser read: empty or default when
// the code is not 0.
template <typename T>
struct CRKADResult {
  std::int32_t code = 0;
  T value;
};

// The administrative methods send their parameters as they are (mode 0).
class CRKADClass : public CRKClass {
 protected:
  // A body is posted with the call and must live until it returns.
  std::int32_t Call(const char* method, CRKParameterList parameters, const std::string* body = nullptr);

  template <typename T>
  CRKADResult<std::vector<T>> CallList(const char* method, CRKParameterList parameters) {
    CRKADList<T> parser;
    const std::int32_t code = CallParsed(method, std::move(parameters), nullptr, &parser);
    return {code, parser.List()};
  }

  template <typename T>
  CRKADResult<T> CallRecord(const char* method, CRKParameterList parameters, const std::string* body = nullptr) {
    CRKADRecord<T> parser;
    const std::int32_t code = CallParsed(method, std::move(parameters), body, &parser);
    return {code, parser.Record()};
  }

  // As Call, with `parser` (may be null) reading the answer.
  std::int32_t CallParsed(const char* method, CRKParameterList parameters, const std::string* body, IRKParser* parser);

  static CRKParameter Token(const std::string& authToken) { return {"authToken", authToken}; }
  static CRKParameter Number(const char* name, std::int32_t value) { return {name, DecimalText(value)}; }
};

// The body of the methods that post nothing but a line feed.
inline const std::string kRKADLineFeedBody = "\n";

}  // namespace velinst
