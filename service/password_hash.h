// Passwords are kept only as salted PBKDF2-HMAC-SHA256 hashes, in the text
// form "pbkdf2-sha256$<iterations>$<salt, Base64>$<hash, Base64>" so that
// each hash carries the cost it was made with.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace velinst::service {

inline constexpr std::uint32_t kDefaultHashIterations = 100000;
inline constexpr std::uint32_t kMinimumHashIterations = 1000;

std::string HashPassword(std::string_view password, std::uint32_t iterations);
// The hash made with a given salt (for known-answer tests).
std::string HashPasswordWithSalt(std::string_view password, std::uint32_t iterations,
                                 std::span<const std::uint8_t> salt);
// False as well for a stored text that is not a hash of this form.
bool VerifyPassword(std::string_view password, std::string_view stored);

}  // namespace velinst::service
