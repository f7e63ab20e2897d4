// DES in CBC mode with an all-zero IV and PKCS#5 padding, the platform's
// part of the payload cipher: CryptoAPI on Windows, nettle on the host.
// Both produce the same bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

namespace velinst::http {

inline constexpr std::uint32_t kDesBlockSize = 8;

class DesCbcKey {
 public:
  // Null when the platform cannot set the key up.
  static std::unique_ptr<DesCbcKey> Import(std::span<const std::uint8_t, 8> material);
  virtual ~DesCbcKey() = default;

  // Pads and encrypts data[0, dataLength) in place as one whole message;
  // `data` holds `capacity` bytes. With `data` null only reports the
  // ciphertext length. When the capacity is too small: false, and `length`
  // is the length needed.
  virtual bool EncryptFinal(std::uint8_t* data, std::uint32_t dataLength, std::uint32_t capacity,
                            std::uint32_t& length) = 0;
  // Decrypts data[0, dataLength) in place and checks and strips the padding.
  virtual bool DecryptFinal(std::uint8_t* data, std::uint32_t dataLength, std::uint32_t& length) = 0;
};

}  // namespace velinst::http
