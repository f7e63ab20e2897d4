// DES through CryptoAPI. The base providers cannot import a raw key, so it is
// wrapped as a SIMPLEBLOB for a throw-away RSA key whose exponents are all 1,
// which unwraps it unchanged. The provider context is ephemeral
// (CRYPT_VERIFYCONTEXT): nothing is created in or deleted from the user's key
// store, and parallel processes do not share a container.
#include "http/des_cbc.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <wincrypt.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace velinst::http {
namespace {

class CryptProvider {
 public:
  CryptProvider() = default;
  CryptProvider(const CryptProvider&) = delete;
  CryptProvider& operator=(const CryptProvider&) = delete;
  ~CryptProvider() {
    if (handle_ != 0) ::CryptReleaseContext(handle_, 0);
  }
  HCRYPTPROV* Out() { return &handle_; }
  HCRYPTPROV Get() const { return handle_; }

 private:
  HCRYPTPROV handle_ = 0;
};

class CryptKey {
 public:
  CryptKey() = default;
  CryptKey(const CryptKey&) = delete;
  CryptKey& operator=(const CryptKey&) = delete;
  ~CryptKey() { Reset(); }
  void Reset() {
    if (handle_ != 0) ::CryptDestroyKey(handle_);
    handle_ = 0;
  }
  HCRYPTKEY* Out() {
    Reset();
    return &handle_;
  }
  HCRYPTKEY Get() const { return handle_; }

 private:
  HCRYPTKEY handle_ = 0;
};

bool KeyParameter(HCRYPTKEY key, DWORD parameter, DWORD& value) {
  DWORD size = sizeof value;
  return ::CryptGetKeyParam(key, parameter, reinterpret_cast<BYTE*>(&value), &size, 0) != FALSE;
}

// An exchange key whose public and private exponents are 1, so that
// "encrypting" with it is the identity.
bool MakeIdentityExchangeKey(HCRYPTPROV provider, CryptKey& exchangeKey) {
  CryptKey generated;
  if (!::CryptGenKey(provider, AT_KEYEXCHANGE, CRYPT_EXPORTABLE, generated.Out())) return false;
  DWORD size = 0;
  if (!::CryptExportKey(generated.Get(), 0, PRIVATEKEYBLOB, 0, nullptr, &size)) return false;
  std::vector<BYTE> blob(size);
  if (!::CryptExportKey(generated.Get(), 0, PRIVATEKEYBLOB, 0, blob.data(), &size)) return false;
  generated.Reset();

  // BLOBHEADER, RSAPUBKEY {magic, bitlen, pubexp}, then modulus, prime1,
  // prime2, exponent1, exponent2, coefficient, privateExponent.
  constexpr std::size_t kHeaders = sizeof(BLOBHEADER) + sizeof(RSAPUBKEY);
  if (size < kHeaders) return false;
  RSAPUBKEY rsa;
  std::memcpy(&rsa, blob.data() + sizeof(BLOBHEADER), sizeof rsa);
  const std::size_t full = rsa.bitlen / 8;
  const std::size_t half = rsa.bitlen / 16;
  if (full == 0 || size < kHeaders + 2 * full + 5 * half) return false;
  rsa.pubexp = 1;
  std::memcpy(blob.data() + sizeof(BLOBHEADER), &rsa, sizeof rsa);
  auto setOne = [](BYTE* value, std::size_t length) {
    std::fill_n(value, length, BYTE{0});
    value[0] = 1;
  };
  BYTE* at = blob.data() + kHeaders + full + 2 * half;  // past modulus and primes
  setOne(at, half);                                     // exponent1
  setOne(at + half, half);                              // exponent2
  setOne(at + 3 * half, full);                          // private exponent, past the coefficient
  return ::CryptImportKey(provider, blob.data(), size, 0, 0, exchangeKey.Out()) != FALSE;
}

bool ProviderHasAlgorithm(HCRYPTPROV provider, ALG_ID algorithm) {
  PROV_ENUMALGS_EX entry;
  DWORD flags = CRYPT_FIRST;
  for (;;) {
    DWORD size = sizeof entry;
    if (!::CryptGetProvParam(provider, PP_ENUMALGS_EX, reinterpret_cast<BYTE*>(&entry), &size, flags)) return false;
    if (entry.aiAlgid == algorithm) return true;
    flags = 0;
  }
}

bool ImportRawSessionKey(HCRYPTPROV provider, HCRYPTKEY exchangeKey, ALG_ID algorithm,
                         std::span<const std::uint8_t, 8> material, CryptKey& sessionKey) {
  if (!ProviderHasAlgorithm(provider, algorithm)) return false;
  {
    CryptKey probe;
    DWORD bits = 0;
    if (!::CryptGenKey(provider, algorithm, 0, probe.Out()) || !KeyParameter(probe.Get(), KP_KEYLEN, bits))
      return false;
    if (material.size() * 8 > bits) return false;
  }
  DWORD exchangeAlgorithm = 0;
  DWORD exchangeBits = 0;
  if (!KeyParameter(exchangeKey, KP_ALGID, exchangeAlgorithm) || !KeyParameter(exchangeKey, KP_KEYLEN, exchangeBits))
    return false;
  const std::size_t modulus = exchangeBits / 8;
  const std::size_t keyLength = material.size();
  if (modulus < keyLength + 11) return false;

  // SIMPLEBLOB: header, the exchange algorithm, then a PKCS #1 type 2 block
  // in reversed byte order: key, 0, non-zero random padding, 2, 0.
  std::vector<BYTE> blob(modulus + 12);
  BLOBHEADER header{SIMPLEBLOB, CUR_BLOB_VERSION, 0, algorithm};
  std::memcpy(blob.data(), &header, sizeof header);
  const ALG_ID wrapping = exchangeAlgorithm;
  std::memcpy(blob.data() + 8, &wrapping, sizeof wrapping);
  std::reverse_copy(material.begin(), material.end(), blob.begin() + 12);
  BYTE* const padding = blob.data() + 13 + keyLength;
  const std::size_t paddingLength = modulus - keyLength - 3;
  if (!::CryptGenRandom(provider, static_cast<DWORD>(paddingLength), padding)) return false;
  std::replace(padding, padding + paddingLength, BYTE{0}, BYTE{1});
  blob[10 + modulus] = 2;
  return ::CryptImportKey(provider, blob.data(), static_cast<DWORD>(blob.size()), exchangeKey, CRYPT_EXPORTABLE,
                          sessionKey.Out()) != FALSE;
}

class CryptoApiDesKey final : public DesCbcKey {
 public:
  bool Setup(std::span<const std::uint8_t, 8> material) {
    if (!::CryptAcquireContextA(provider_.Out(), nullptr, MS_ENHANCED_PROV_A, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT))
      return false;
    return MakeIdentityExchangeKey(provider_.Get(), exchangeKey_) &&
           ImportRawSessionKey(provider_.Get(), exchangeKey_.Get(), CALG_DES, material, sessionKey_);
  }

  bool EncryptFinal(std::uint8_t* data, std::uint32_t dataLength, std::uint32_t capacity,
                    std::uint32_t& length) override {
    DWORD size = dataLength;
    const bool encrypted = ::CryptEncrypt(sessionKey_.Get(), 0, TRUE, 0, data, &size, capacity) != FALSE;
    length = size;
    return encrypted;
  }

  bool DecryptFinal(std::uint8_t* data, std::uint32_t dataLength, std::uint32_t& length) override {
    if (data == nullptr) return false;
    DWORD size = dataLength;
    if (!::CryptDecrypt(sessionKey_.Get(), 0, TRUE, 0, data, &size)) return false;
    length = size;
    return true;
  }

 private:
  // Released in reverse order: the keys before their provider.
  CryptProvider provider_;
  CryptKey exchangeKey_;
  CryptKey sessionKey_;
};

}  // namespace

std::unique_ptr<DesCbcKey> DesCbcKey::Import(std::span<const std::uint8_t, 8> material) {
  auto key = std::make_unique<CryptoApiDesKey>();
  if (!key->Setup(material)) return nullptr;
  return key;
}

}  // namespace velinst::http
