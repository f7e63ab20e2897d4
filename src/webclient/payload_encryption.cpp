#include "webclient/payload_encryption.h"

#include <cstdint>
#include <limits>
#include <vector>

#include "http/payload_cipher.h"
#include "http/payload_key.h"
#include "platform/base64.h"

namespace velinst {

bool EncryptWithServiceKey(std::string_view plain, std::string& base64) {
  // The cipher counts in 32 bits, and padding adds up to one block.
  if (plain.size() > std::numeric_limits<std::uint32_t>::max() - 2 * http::CPayloadCipher::kKeyLength) return false;
  http::CPayloadCipher cipher(http::PayloadKeyMaterial());
  const auto plainLength = static_cast<std::uint32_t>(plain.size());
  std::uint32_t length = 0;
  if (!cipher.Encrypt(plain.data(), plainLength, nullptr, length)) return false;
  std::vector<std::uint8_t> ciphertext(length);
  if (!cipher.Encrypt(plain.data(), plainLength, ciphertext.data(), length) || length > ciphertext.size()) return false;
  base64.assign(Base64EncodedSize(length), '\0');
  Base64Encode(base64.data(), ciphertext.data(), length);
  base64.pop_back();  // the terminator
  return true;
}

}  // namespace velinst
