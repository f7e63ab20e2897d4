// What a method handler works with: the request's parameters read as the
// method expects them, the caller, the database (inside the request's
// transaction), the clock and the answer being written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "answer_writer.h"
#include "caller.h"
#include "password_work.h"
#include "record_store.h"
#include "service_request.h"
#include "service_settings.h"
#include "sqlite_database.h"

namespace velinst::service {

class MethodContext {
 public:
  MethodContext(Database& database, const ServiceSettings& settings, std::int64_t now, const ServiceRequest& request,
                const PasswordWork& passwords)
      : database_(database), settings_(settings), request_(request), passwords_(passwords), now_(now) {}

  // Required parameters throw MissingParameterException when absent,
  // ParameterException when they do not read as their kind. Texts are in
  // the stored (escaped) form and are refused above `limit` bytes.
  std::string Text(std::string_view name, std::size_t limit = kMaxTextLength) const;
  std::optional<std::string> OptionalText(std::string_view name, std::size_t limit = kMaxTextLength) const;
  std::int64_t Integer(std::string_view name) const;
  std::optional<std::int64_t> OptionalInteger(std::string_view name) const;
  double Real(std::string_view name) const;
  std::optional<double> OptionalReal(std::string_view name) const;
  bool Boolean(std::string_view name) const;
  std::optional<bool> OptionalBoolean(std::string_view name) const;
  // The posted body; MissingParameterException when there is none.
  const std::string& Body() const;

  // The caller of the "authToken" parameter.
  Caller Authenticate() const;
  // Same, and the token must be a signed-in user's.
  Caller AuthenticateUser() const;

  Database& Db() const { return database_; }
  const ServiceSettings& Settings() const { return settings_; }
  const ServiceRequest& Request() const { return request_; }
  // Hashes and verifications of passwords; see PasswordWork.
  const PasswordWork& Passwords() const { return passwords_; }
  AnswerWriter& Answer() { return answer_; }
  // The request's instant, the same for every use within it.
  std::int64_t Now() const { return now_; }

 private:
  const std::string* Raw(std::string_view name) const { return request_.parameters.Find(name); }

  Database& database_;
  const ServiceSettings& settings_;
  const ServiceRequest& request_;
  const PasswordWork& passwords_;
  std::int64_t now_;
  AnswerWriter answer_;
};

}  // namespace velinst::service
