#include "http/payload_cipher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "http/payload_key.h"
#include "platform/base64.h"

namespace velinst::http {
namespace {

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (const std::uint8_t byte : bytes) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
}

// The two calls a request makes: the length, then the ciphertext.
std::vector<std::uint8_t> EncryptText(CPayloadCipher& cipher, const std::string& plain) {
  std::uint32_t length = 0;
  EXPECT_TRUE(cipher.Encrypt(plain.data(), static_cast<std::uint32_t>(plain.size()), nullptr, length));
  std::vector<std::uint8_t> cipherText(length);
  EXPECT_TRUE(cipher.Encrypt(plain.data(), static_cast<std::uint32_t>(plain.size()), cipherText.data(), length));
  EXPECT_EQ(length, cipherText.size());
  return cipherText;
}

TEST(PayloadCipher, KnownAnswer) {
  CPayloadCipher cipher("K3yM4t3r");
  ASSERT_TRUE(cipher.IsReady());
  EXPECT_EQ(Hex(EncryptText(cipher, "&username=bob&password=secret1")),
            "ce7284729763f5eb74fd0c8b71a880483751afd2caeeb87e3b4da4b241e84e18");
}

TEST(PayloadCipher, LibraryKeyIsBuiltFromItsTwoHalves) { EXPECT_EQ(PayloadKeyMaterial(), "K3yM4t3r"); }

TEST(PayloadCipher, KeyMaterialMustBeEightBytes) {
  for (const char* key : {"", "K3yM4t3", "K3yM4t3rX"}) {
    CPayloadCipher cipher(key);
    EXPECT_FALSE(cipher.IsReady()) << key;
    std::uint32_t length = 0;
    EXPECT_FALSE(cipher.Encrypt("abc", 3, nullptr, length)) << key;
    std::uint8_t out[16];
    length = sizeof out;
    EXPECT_FALSE(cipher.Encrypt("abc", 3, out, length)) << key;
  }
}

TEST(PayloadCipher, CiphertextIsPlainLengthRoundedUpToAWholeExtraBlock) {
  CPayloadCipher cipher(PayloadKeyMaterial());
  for (const auto& [plain, expected] : {std::pair{0u, 8u}, std::pair{1u, 8u}, std::pair{7u, 8u}, std::pair{8u, 16u},
                                        std::pair{16u, 24u}, std::pair{30u, 32u}}) {
    std::uint32_t length = 0;
    const std::string text(plain, 'p');
    ASSERT_TRUE(cipher.Encrypt(text.data(), plain, nullptr, length));
    EXPECT_EQ(length, expected) << plain;
    EXPECT_EQ(EncryptText(cipher, text).size(), expected) << plain;
  }
}

TEST(PayloadCipher, SixteenBytesGoOutAsThirtyTwoBase64Characters) {
  CPayloadCipher cipher(PayloadKeyMaterial());
  const std::vector<std::uint8_t> cipherText = EncryptText(cipher, "&a=1&b=2&c=3&d=4");
  ASSERT_EQ(cipherText.size(), 24u);
  std::string text(Base64EncodedSize(cipherText.size()), '\0');
  Base64Encode(text.data(), cipherText.data(), cipherText.size());
  EXPECT_EQ(std::string(text.c_str()).size(), 32u);
}

TEST(PayloadCipher, SmallDestinationIsRefusedAndUntouched) {
  CPayloadCipher cipher(PayloadKeyMaterial());
  std::uint8_t out[16];
  std::fill(std::begin(out), std::end(out), 0xEE);
  std::uint32_t length = 15;
  EXPECT_FALSE(cipher.Encrypt("0123456789", 10, out, length));
  EXPECT_EQ(out[0], 0xEE);
  length = 16;
  EXPECT_TRUE(cipher.Encrypt("0123456789", 10, out, length));
  EXPECT_EQ(length, 16u);
}

TEST(PayloadCipher, DecryptReversesEncrypt) {
  CPayloadCipher cipher(PayloadKeyMaterial());
  for (const std::string plain : {"", "a", "exactly8", "&username=bob&password=secret1"}) {
    const std::vector<std::uint8_t> cipherText = EncryptText(cipher, plain);
    std::vector<char> back(cipherText.size());
    std::uint32_t length = static_cast<std::uint32_t>(back.size());
    ASSERT_TRUE(cipher.Decrypt(cipherText.data(), static_cast<std::uint32_t>(cipherText.size()), back.data(), length))
        << plain;
    EXPECT_EQ(std::string(back.data(), length), plain);
  }
}

TEST(PayloadCipher, DecryptRefusesBrokenCiphertext) {
  CPayloadCipher cipher(PayloadKeyMaterial());
  std::vector<std::uint8_t> cipherText = EncryptText(cipher, "parameters");
  char back[32];
  std::uint32_t length = sizeof back;
  EXPECT_FALSE(cipher.Decrypt(cipherText.data(), 7, back, length));  // not whole blocks
  cipherText.back() ^= 0x55;                                         // the padding no longer checks
  length = sizeof back;
  EXPECT_FALSE(cipher.Decrypt(cipherText.data(), static_cast<std::uint32_t>(cipherText.size()), back, length));
}

}  // namespace
}  // namespace velinst::http
