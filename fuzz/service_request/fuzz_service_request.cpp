// Requests of the account-service stand-in: the query text, the parameters
// it decrypts and the documents posted with it. An input is
//   <query>[!<parameters to seal>]\n<body>
// where the part after "!" goes out encrypted as "encryptedData", and "@T"
// in the query stands for an administrator's auth token.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "account_service.h"
#include "http/payload_cipher.h"
#include "http/payload_key.h"
#include "platform/base64.h"

namespace {

using velinst::service::AccountService;

constexpr const char* kAddress = "fuzz";

std::string Sealed(const std::string& plain) {
  velinst::http::CPayloadCipher cipher(velinst::http::PayloadKeyMaterial());
  std::uint32_t length = 0;
  cipher.Encrypt(plain.data(), static_cast<std::uint32_t>(plain.size()), nullptr, length);
  std::vector<std::uint8_t> bytes(length);
  if (!cipher.Encrypt(plain.data(), static_cast<std::uint32_t>(plain.size()), bytes.data(), length)) return {};
  std::string text(velinst::Base64EncodedSize(length), '\0');
  velinst::Base64Encode(text.data(), bytes.data(), length);
  text.pop_back();
  return text;  // '+', '/' and '=' pass the service's query reading unencoded
}

struct Harness {
  Harness() : service(":memory:", {3600, 1000}) {
    service.EnsureAdministrator("admin", "admin-secret");
    const std::string answer =
        service.Handle("method=Account.Login&encryptedData=" + Sealed("&username=admin&password=admin-secret"), {}, kAddress)
            .body;
    const std::size_t start = answer.find("<AuthToken>") + 11;
    token = answer.substr(start, answer.find("</AuthToken>") - start);
  }
  AccountService service;
  std::string token;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Harness harness;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t newline = input.find('\n');
  std::string query = input.substr(0, newline);
  std::string body = newline == std::string::npos ? std::string() : input.substr(newline + 1);
  for (std::size_t at = query.find("@T"); at != std::string::npos; at = query.find("@T", at + harness.token.size()))
    query.replace(at, 2, harness.token);
  const std::size_t bang = query.find('!');
  if (bang != std::string::npos) query = query.substr(0, bang) + "&encryptedData=" + Sealed(query.substr(bang + 1));
  harness.service.Handle(query, std::move(body), kAddress);
  return 0;
}
