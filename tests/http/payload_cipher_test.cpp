// The payload cipher: a known answer, padding, round trips and refusals.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "http/payload_cipher.h"
#include "http/payload_key.h"

namespace velinst::http {
namespace {

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  char digits[3];
  for (const std::uint8_t byte : bytes) std::snprintf(digits, sizeof digits, "%02x", byte), text += digits;
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

TEST(PayloadCipher, KnownAnswerPaddedRoundTripsAndRefusals) {
  CPayloadCipher cipher(PayloadKeyMaterial());
  ASSERT_TRUE(cipher.IsReady());
  EXPECT_EQ(Hex(EncryptText(cipher, "&username=bob&password=secret1")),
            "ce7284729763f5eb74fd0c8b71a880483751afd2caeeb87e3b4da4b241e84e18");
  for (const char* key : {"", "K3yM4t3", "K3yM4t3rX"}) {
    CPayloadCipher bad(key);
    std::uint32_t length = 0;
    EXPECT_FALSE(bad.IsReady() || bad.Encrypt("abc", 3, nullptr, length)) << key;
  }
  // Padding always adds to the last block; a destination one byte short is
  // refused and left alone; decryption gives the text back and refuses a
  // ciphertext of broken blocks or padding.
  for (const auto& [plain, expected] :
       {std::pair{0u, 8u}, std::pair{7u, 8u}, std::pair{8u, 16u}, std::pair{30u, 32u}}) {
    const std::string text(plain, '&');
    std::vector<std::uint8_t> cipherText = EncryptText(cipher, text);
    EXPECT_EQ(cipherText.size(), expected) << plain;
    std::vector<std::uint8_t> out(expected, 0xEE);
    std::uint32_t length = expected - 1;
    EXPECT_FALSE(cipher.Encrypt(text.data(), plain, out.data(), length)) << plain;
    EXPECT_EQ(out[0], 0xEE) << plain;

    std::vector<char> back(expected);
    length = expected;
    ASSERT_TRUE(cipher.Decrypt(cipherText.data(), expected, back.data(), length)) << plain;
    EXPECT_EQ(std::string(back.data(), length), text);
    length = expected;
    EXPECT_FALSE(cipher.Decrypt(cipherText.data(), expected - 1, back.data(), length)) << plain;
    cipherText.back() ^= 0x55;
    length = expected;
    EXPECT_FALSE(cipher.Decrypt(cipherText.data(), expected, back.data(), length)) << plain;
  }
}

}  // namespace
}  // namespace velinst::http
