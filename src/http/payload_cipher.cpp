#include "http/payload_cipher.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "http/des_cbc.h"

namespace velinst::http {

CPayloadCipher::CPayloadCipher(std::string_view keyMaterial) {
  if (keyMaterial.size() != kKeyLength) return;
  std::uint8_t material[kKeyLength];
  std::memcpy(material, keyMaterial.data(), kKeyLength);
  key_ = DesCbcKey::Import(std::span<const std::uint8_t, kKeyLength>(material));
}

CPayloadCipher::~CPayloadCipher() = default;

bool CPayloadCipher::Encrypt(const void* source, std::uint32_t sourceLength, void* destination, std::uint32_t& length) {
  if (!key_ || (source == nullptr && sourceLength != 0)) return false;
  if (destination == nullptr) return key_->EncryptFinal(nullptr, sourceLength, 0, length);
  // The scratch array holds the plain text and room for the padding the
  // destination can take.
  const std::uint32_t capacity = length;
  std::vector<std::uint8_t> scratch(std::max(sourceLength, capacity));
  if (sourceLength != 0) std::memcpy(scratch.data(), source, sourceLength);
  std::uint32_t written = 0;
  if (!key_->EncryptFinal(scratch.data(), sourceLength, capacity, written)) {
    length = written;
    return false;
  }
  std::memcpy(destination, scratch.data(), written);
  length = written;
  return true;
}

bool CPayloadCipher::Decrypt(const void* source, std::uint32_t sourceLength, void* destination, std::uint32_t& length) {
  if (!key_ || source == nullptr) return false;
  if (destination == nullptr) {
    length = sourceLength;
    return true;
  }
  std::vector<std::uint8_t> scratch(static_cast<const std::uint8_t*>(source),
                                    static_cast<const std::uint8_t*>(source) + sourceLength);
  std::uint32_t plain = 0;
  if (!key_->DecryptFinal(scratch.data(), sourceLength, plain)) return false;
  if (plain > length) {
    length = plain;
    return false;
  }
  std::memcpy(destination, scratch.data(), plain);
  length = plain;
  return true;
}

}  // namespace velinst::http
