// DES through nettle; the padding is added and checked here.
#include "http/des_cbc.h"

#include <nettle/cbc.h>
#include <nettle/des.h>

#include <cstring>

namespace velinst::http {
namespace {

class NettleDesKey final : public DesCbcKey {
 public:
  explicit NettleDesKey(std::span<const std::uint8_t, 8> material) {
    // A weak key is used as it is, as CryptoAPI does; parity bits are ignored.
    static_cast<void>(des_set_key(&context_, material.data()));
  }

  bool EncryptFinal(std::uint8_t* data, std::uint32_t dataLength, std::uint32_t capacity,
                    std::uint32_t& length) override {
    if (dataLength > UINT32_MAX - kDesBlockSize) return false;
    const std::uint32_t padded = (dataLength / kDesBlockSize + 1) * kDesBlockSize;
    length = padded;
    if (data == nullptr) return true;
    if (capacity < padded) return false;
    std::memset(data + dataLength, static_cast<int>(padded - dataLength), padded - dataLength);
    std::uint8_t iv[DES_BLOCK_SIZE] = {};
    cbc_encrypt(&context_, reinterpret_cast<nettle_cipher_func*>(des_encrypt), DES_BLOCK_SIZE, iv, padded, data, data);
    return true;
  }

  bool DecryptFinal(std::uint8_t* data, std::uint32_t dataLength, std::uint32_t& length) override {
    if (data == nullptr || dataLength == 0 || dataLength % kDesBlockSize != 0) return false;
    std::uint8_t iv[DES_BLOCK_SIZE] = {};
    cbc_decrypt(&context_, reinterpret_cast<nettle_cipher_func*>(des_decrypt), DES_BLOCK_SIZE, iv, dataLength, data,
                data);
    const std::uint8_t pad = data[dataLength - 1];
    if (pad == 0 || pad > kDesBlockSize) return false;
    for (std::uint32_t at = dataLength - pad; at < dataLength; ++at)
      if (data[at] != pad) return false;
    length = dataLength - pad;
    return true;
  }

 private:
  des_ctx context_{};
};

}  // namespace

std::unique_ptr<DesCbcKey> DesCbcKey::Import(std::span<const std::uint8_t, 8> material) {
  return std::make_unique<NettleDesKey>(material);
}

}  // namespace velinst::http
