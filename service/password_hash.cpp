#include "password_hash.h"

#include <nettle/pbkdf2.h>

#include <array>
#include <charconv>
#include <vector>

#include "platform/base64.h"
#include "random_bytes.h"

namespace velinst::service {
namespace {

constexpr std::string_view kScheme = "pbkdf2-sha256";
constexpr std::size_t kSaltLength = 16;
constexpr std::size_t kHashLength = 32;
// A stored hash that asks for more would stall the service on every login.
constexpr std::uint32_t kMaximumHashIterations = 10000000;

std::string Base64(std::span<const std::uint8_t> bytes) {
  std::string text(Base64EncodedSize(bytes.size()), '\0');
  Base64Encode(text.data(), bytes.data(), bytes.size());
  text.pop_back();
  return text;
}

std::array<std::uint8_t, kHashLength> Derive(std::string_view password, std::uint32_t iterations,
                                             std::span<const std::uint8_t> salt) {
  std::array<std::uint8_t, kHashLength> hash{};
  pbkdf2_hmac_sha256(password.size(), reinterpret_cast<const std::uint8_t*>(password.data()), iterations, salt.size(),
                     salt.data(), hash.size(), hash.data());
  return hash;
}

bool Base64Decoded(std::string_view text, std::vector<std::uint8_t>& bytes) {
  if (text.empty() || text.size() % 4 != 0) return false;
  bytes.resize(Base64DecodedCapacity(text.size()));
  bytes.resize(Base64Decode(bytes.data(), text.data(), text.size()));
  return Base64(bytes) == text;  // refuses characters outside the alphabet
}

}  // namespace

std::string HashPasswordWithSalt(std::string_view password, std::uint32_t iterations,
                                 std::span<const std::uint8_t> salt) {
  const auto hash = Derive(password, iterations, salt);
  return std::string(kScheme) + "$" + std::to_string(iterations) + "$" + Base64(salt) + "$" + Base64(hash);
}

std::string HashPassword(std::string_view password, std::uint32_t iterations) {
  std::array<std::uint8_t, kSaltLength> salt{};
  FillRandom(salt.data(), salt.size());
  return HashPasswordWithSalt(password, iterations, salt);
}

bool VerifyPassword(std::string_view password, std::string_view stored) {
  const std::size_t first = stored.find('$');
  const std::size_t second = stored.find('$', first == std::string_view::npos ? first : first + 1);
  const std::size_t third = stored.find('$', second == std::string_view::npos ? second : second + 1);
  if (third == std::string_view::npos || stored.substr(0, first) != kScheme) return false;
  std::uint32_t iterations = 0;
  const std::string_view count = stored.substr(first + 1, second - first - 1);
  const auto parsed = std::from_chars(count.data(), count.data() + count.size(), iterations);
  if (parsed.ec != std::errc() || parsed.ptr != count.data() + count.size() || iterations == 0 ||
      iterations > kMaximumHashIterations)
    return false;
  std::vector<std::uint8_t> salt, expected;
  if (!Base64Decoded(stored.substr(second + 1, third - second - 1), salt) ||
      !Base64Decoded(stored.substr(third + 1), expected) || expected.size() != kHashLength)
    return false;
  const auto actual = Derive(password, iterations, salt);
  // Every byte is compared, so the time does not tell how much matched.
  std::uint8_t difference = 0;
  for (std::size_t i = 0; i < kHashLength; ++i) difference |= static_cast<std::uint8_t>(actual[i] ^ expected[i]);
  return difference == 0;
}

}  // namespace velinst::service
