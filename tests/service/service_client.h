// The tests' side of the account-service stand-in that the ctest fixture
// started: calls of its methods over HTTP (through the library's own
// session, so WinInet under wine), their answers read back, and its control
// path (scripted answers, the clock).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "http/http_session.h"
#include "test_server_client.h"

namespace velinst::service::test {

using Parameters = std::vector<std::pair<std::string, std::string>>;

struct ServiceReply {
  int status = 0;
  std::string body;

  // The decoded text of the element `field` inside the first `name`.
  std::optional<std::string> FieldText(std::string_view name, std::string_view field) const;
};

class ServiceClient {
 public:
  // Finds the stand-in through a port file (by default the fixture's).
  explicit ServiceClient(const std::string& portFile = VELINST_SERVICE_PORT_FILE);

  bool Ready() const { return control_.Ready(); }
  std::string HostText() const { return control_.HostText(); }

  // method=<method> and the parameters, in order, "&name=value", the values
  // as given.
  ServiceReply Call(const std::string& method, const Parameters& parameters);
  // Any path on the stand-in.
  ServiceReply Request(const std::string& path);

  http::test::TestServerClient& Control() { return control_; }
  void AdvanceClock(std::int64_t seconds);

  static constexpr const char* kAdminUser = VELINST_SERVICE_ADMIN_USER;
  static constexpr const char* kAdminPassword = VELINST_SERVICE_ADMIN_PASSWORD;

 private:
  http::test::TestServerClient control_;
  http::CHttpSession session_;
};

// A name no earlier test used (the stand-in keeps what every test made).
std::string UniqueName(const std::string& prefix);

}  // namespace velinst::service::test
