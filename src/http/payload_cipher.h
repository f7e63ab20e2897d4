// Encryption of request parameters that must not travel as plain query text
// (credentials, device descriptions): DES-CBC under an 8-byte key, zero IV,
// PKCS#5 padding. A cipher lives for one request.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace velinst::http {

class DesCbcKey;

class CPayloadCipher {
 public:
  static constexpr std::size_t kKeyLength = 8;

  // Key material of any length other than 8 bytes sets nothing up, and
  // every operation then fails.
  explicit CPayloadCipher(std::string_view keyMaterial);
  CPayloadCipher(const CPayloadCipher&) = delete;
  CPayloadCipher& operator=(const CPayloadCipher&) = delete;
  ~CPayloadCipher();

  bool IsReady() const { return key_ != nullptr; }

  // With `destination` null: `length` receives the ciphertext length of
  // `sourceLength` bytes. Otherwise `length` gives the destination's size on
  // entry and receives the ciphertext length; the ciphertext is written only
  // when it fits.
  bool Encrypt(const void* source, std::uint32_t sourceLength, void* destination, std::uint32_t& length);
  // The reverse, with the same conventions; with `destination` null,
  // `length` receives an upper bound of the plain length. Fails on a
  // ciphertext that is not whole blocks or whose padding is wrong.
  bool Decrypt(const void* source, std::uint32_t sourceLength, void* destination, std::uint32_t& length);

 private:
  std::unique_ptr<DesCbcKey> key_;
};

}  // namespace velinst::http
