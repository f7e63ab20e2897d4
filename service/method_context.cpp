#include "method_context.h"

#include "auth_tokens.h"
#include "service_error.h"
#include "value_text.h"

namespace velinst::service {
namespace {

[[noreturn]] void Missing(std::string_view name) {
  throw ServiceError(error_type::kMissingParameter, "The parameter " + std::string(name) + " is missing");
}

[[noreturn]] void Malformed(std::string_view name, const char* kind) {
  throw ServiceError(error_type::kParameter, "The parameter " + std::string(name) + " is not " + kind);
}

}  // namespace

std::optional<std::string> MethodContext::OptionalText(std::string_view name, std::size_t limit) const {
  const std::string* value = Raw(name);
  if (value == nullptr) return std::nullopt;
  CheckTextLength(name, *value, limit);
  return *value;
}

std::string MethodContext::Text(std::string_view name, std::size_t limit) const {
  auto value = OptionalText(name, limit);
  if (!value) Missing(name);
  return *value;
}

std::optional<std::int64_t> MethodContext::OptionalInteger(std::string_view name) const {
  const std::string* value = Raw(name);
  if (value == nullptr) return std::nullopt;
  const auto number = IntegerText(*value);
  if (!number) Malformed(name, "a whole number");
  return number;
}

std::int64_t MethodContext::Integer(std::string_view name) const {
  const auto value = OptionalInteger(name);
  if (!value) Missing(name);
  return *value;
}

std::optional<double> MethodContext::OptionalReal(std::string_view name) const {
  const std::string* value = Raw(name);
  if (value == nullptr) return std::nullopt;
  const auto number = RealValueText(*value);
  if (!number) Malformed(name, "a number");
  return number;
}

double MethodContext::Real(std::string_view name) const {
  const auto value = OptionalReal(name);
  if (!value) Missing(name);
  return *value;
}

std::optional<bool> MethodContext::OptionalBoolean(std::string_view name) const {
  const std::string* value = Raw(name);
  if (value == nullptr) return std::nullopt;
  const auto flag = BooleanText(*value);
  if (!flag) Malformed(name, "true or false");
  return flag;
}

bool MethodContext::Boolean(std::string_view name) const {
  const auto value = OptionalBoolean(name);
  if (!value) Missing(name);
  return *value;
}

const std::string& MethodContext::Body() const {
  if (request_.body.empty()) throw ServiceError(error_type::kMissingParameter, "The request carries no document");
  return request_.body;
}

Caller MethodContext::Authenticate() const {
  const std::string* token = Raw("authToken");
  if (token == nullptr || token->empty()) Missing("authToken");
  return ResolveToken(database_, *token, request_.remoteAddress, now_);
}

Caller MethodContext::AuthenticateUser() const {
  Caller caller = Authenticate();
  RequireUser(caller);
  return caller;
}

}  // namespace velinst::service
