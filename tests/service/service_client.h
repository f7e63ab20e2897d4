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

enum class Sealing { kPlain, kData };

struct ServiceReply {
  int status = 0;
  std::string body;

  bool Ok() const { return body.find("<rsp status=\"ok\">") != std::string::npos; }
  // The decoded text of the first element `name` ("<absent>" when there is
  // none), and of the element `field` inside it.
  std::string Text(std::string_view name) const;
  std::optional<std::string> FieldText(std::string_view name, std::string_view field) const;
};

class ServiceClient {
 public:
  // Finds the stand-in through a port file (by default the fixture's).
  explicit ServiceClient(const std::string& portFile = VELINST_SERVICE_PORT_FILE);

  bool Ready() const { return control_.Ready(); }
  std::string HostText() const { return control_.HostText(); }

  // method=<method> and the parameters, as the library sends them: in order,
  // "&name=value", the values as given; sealed into "encryptedData" when
  // asked.
  ServiceReply Call(const std::string& method, const Parameters& parameters, Sealing sealing = Sealing::kPlain,
                    const std::optional<std::string>& body = std::nullopt);
  // Any path on the stand-in; a body makes it a POST.
  ServiceReply Request(const std::string& path, const std::optional<std::string>& body = std::nullopt);

  // The auth token of a signed-in user; empty when the login failed.
  std::string Login(const std::string& userName, const std::string& password);

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
