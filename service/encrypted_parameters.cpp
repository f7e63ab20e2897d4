#include "encrypted_parameters.h"

#include <algorithm>
#include <vector>

#include "http/payload_cipher.h"
#include "http/payload_key.h"
#include "platform/base64.h"

namespace velinst::service {
namespace {

bool IsBase64Text(std::string_view text) {
  if (text.empty() || text.size() % 4 != 0) return false;
  const std::size_t padding = text.size() - (text.find_last_not_of('=') + 1);
  if (padding > 2) return false;
  return std::all_of(text.begin(), text.end() - static_cast<std::ptrdiff_t>(padding), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/';
  });
}

}  // namespace

std::optional<QueryParameters> DecryptParameters(std::string_view base64Text) {
  if (!IsBase64Text(base64Text)) return std::nullopt;
  std::vector<std::uint8_t> cipherText(Base64DecodedCapacity(base64Text.size()));
  cipherText.resize(Base64Decode(cipherText.data(), base64Text.data(), base64Text.size()));

  http::CPayloadCipher cipher(http::PayloadKeyMaterial());
  std::vector<std::uint8_t> plain(cipherText.size());
  auto length = static_cast<std::uint32_t>(plain.size());
  if (plain.empty() ||
      !cipher.Decrypt(cipherText.data(), static_cast<std::uint32_t>(cipherText.size()), plain.data(), length))
    return std::nullopt;
  const std::string_view text(reinterpret_cast<const char*>(plain.data()), length);
  if (text.empty() || text.front() != '&') return std::nullopt;
  return QueryParameters::FromQuery(text);
}

}  // namespace velinst::service
