// The parameters of one service call: name and value texts, sent as
// "&name=value" in list order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "webclient/url_encode.h"

namespace velinst {

struct CRKParameter {
  std::string name;
  std::string value;
  // The value went through UrlEncode already and is sent as it is; any
  // other value is made query-safe when the request is built.
  bool urlEncoded = false;
};

using CRKParameterList = std::vector<CRKParameter>;

// A parameter whose value the method percent-encodes in full.
inline CRKParameter UrlEncodedParameter(std::string name, std::string_view value) {
  return CRKParameter{std::move(name), UrlEncode(value), true};
}

// The service's spelling of a flag.
constexpr const char* BooleanText(bool value) { return value ? "true" : "false"; }

// Numbers as "%d" and "%f" write them in the C locale (72.5 gives
// "72.500000"), whatever locale the calling program set.
std::string DecimalText(std::int32_t value);
std::string FixedText(double value);

// Optional parameters go out only when the caller gives a value.
void AddOptional(CRKParameterList& parameters, const char* name, const std::optional<std::string>& value);
void AddOptional(CRKParameterList& parameters, const char* name, std::optional<std::int32_t> value);
void AddOptional(CRKParameterList& parameters, const char* name, std::optional<double> value);
void AddOptional(CRKParameterList& parameters, const char* name, std::optional<bool> value);

// The texts separated by ","; empty for an empty list.
std::string JoinedTexts(const std::vector<std::string>& texts);

}  // namespace velinst
