// The tests' side of the account-service stand-in that the ctest fixture
// started: calls of its methods over HTTP (through the library's own
// session, so WinInet under wine), their answers read back, and its control
// path (scripted answers, the clock).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "answer_tree.h"
#include "http/http_session.h"
#include "test_server_client.h"

namespace velinst::service::test {

using Parameters = std::vector<std::pair<std::string, std::string>>;

enum class Sealing { kPlain, kDeviceInfo, kData };

struct ServiceReply {
  bool received = false;  // the session delivered a body
  int status = 0;
  std::string contentType;
  std::string statusText;  // of the Pragma header's "status="
  std::string body;
  std::optional<AnswerNode> answer;

  bool Ok() const { return answer && answer->name == "rsp" && answer->Attribute("status") == "ok"; }
  // The type of an error answer; empty for any other.
  std::string ErrorType() const;
  // A child element of "rsp"; null when absent. Only on a reply that is
  // kept: a node of a temporary reply would dangle.
  const AnswerNode* Element(std::string_view name) const& { return answer ? answer->Child(name) : nullptr; }
  const AnswerNode* Element(std::string_view name) const&& = delete;
  // The same for a test that cannot go on without it: throws (the test
  // fails) when the element is absent.
  const AnswerNode& Required(std::string_view name) const&;
  const AnswerNode& Required(std::string_view name) const&& = delete;

  // Copies, for any reply: the text of a child of "rsp" ("<absent>" when
  // there is none), the text of a field of that child, and the number of
  // the child's own children (0 when it is absent).
  std::string Text(std::string_view name) const;
  std::optional<std::string> FieldText(std::string_view name, std::string_view field) const;
  std::size_t Count(std::string_view name) const;
};

// Texts for a report when an expectation fails.
std::string Describe(const ServiceReply& reply);

class ServiceClient {
 public:
  // Finds the stand-in through a port file (by default the fixture's).
  explicit ServiceClient(const std::string& portFile = VELINST_SERVICE_PORT_FILE);

  bool Ready() const { return control_.Ready(); }
  std::string HostText() const { return control_.HostText(); }

  // method=<method> and the parameters, as the library sends them: in order,
  // "&name=value", the values as given; sealed into "encryptedDeviceInfo" or
  // "encryptedData" when asked. A body makes it a POST.
  ServiceReply Call(const std::string& method, const Parameters& parameters, Sealing sealing = Sealing::kPlain,
                    const std::optional<std::string>& body = std::nullopt);
  // Any path on the stand-in.
  ServiceReply Request(const std::string& path, const std::optional<std::string>& body = std::nullopt);

  // The auth token of a signed-in user; empty when the login failed.
  std::string Login(const std::string& userName, const std::string& password);
  std::string AdminToken() { return Login(kAdminUser, kAdminPassword); }

  http::test::TestServerClient& Control() { return control_; }
  void AdvanceClock(std::int64_t seconds);

  static constexpr const char* kAdminUser = VELINST_SERVICE_ADMIN_USER;
  static constexpr const char* kAdminPassword = VELINST_SERVICE_ADMIN_PASSWORD;

 private:
  http::test::TestServerClient control_;
  http::CHttpSession session_;
};

// Encrypts a parameter text as the library does: DES, Base64, then every
// byte but letters and digits as "%xx".
std::string SealedParameters(const std::string& plain);

// A name no earlier test used (the stand-in keeps what every test made).
std::string UniqueName(const std::string& prefix);

}  // namespace velinst::service::test
