// The account web service: one request on the service path in, one answer
// document out. Requests run one at a time, each in its own transaction,
// which is committed only when the method succeeded; only their password
// hashing runs beside other requests (PasswordWork).
#pragma once

#include <mutex>
#include <string>
#include <string_view>

#include "service_clock.h"
#include "service_settings.h"
#include "sqlite_database.h"

namespace velinst::service {

inline constexpr std::string_view kServicePath = "WebServices/Api/Rest/RestHandler.ashx";

// The path of the service, with or without a leading slash, in any case.
bool IsServicePath(std::string_view path);

struct ServiceAnswer {
  int status = 200;  // 500 when the service itself failed
  std::string body;
};

class AccountService {
 public:
  // Opens (creating when new) the database file or ":memory:".
  AccountService(const std::string& databasePath, ServiceSettings settings);

  // `query` is the request target's text after "?", as sent. Never throws:
  // every failure is an error answer.
  ServiceAnswer Handle(std::string_view query, std::string body, std::string remoteAddress);

  // Makes sure an AccountAdmin outside every account exists with this
  // name and password (texts as a person types them).
  void EnsureAdministrator(std::string_view userName, std::string_view password);

  ServiceClock& Clock() { return clock_; }

 private:
  std::mutex lock_;
  Database database_;
  ServiceSettings settings_;
  ServiceClock clock_;
};

}  // namespace velinst::service
