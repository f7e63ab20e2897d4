#include "auth_tokens.h"

#include <nettle/sha2.h>

#include "random_bytes.h"
#include "service_error.h"

namespace velinst::service {
namespace {

constexpr std::size_t kTokenBytes = 24;
// Expired tokens are kept this long so that their use still answers
// "expired" rather than "invalid".
constexpr std::int64_t kExpiredTokenMemory = 7 * 24 * 3600;

std::string TokenHash(const std::string& token) {
  sha256_ctx context;
  sha256_init(&context);
  sha256_update(&context, token.size(), reinterpret_cast<const std::uint8_t*>(token.data()));
  std::uint8_t digest[SHA256_DIGEST_SIZE];
  sha256_digest(&context, sizeof digest, digest);
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (const std::uint8_t byte : digest) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
}

}  // namespace

std::string IssueToken(Database& database, const TokenIssue& issue) {
  database.Run("DELETE FROM tokens WHERE expires < ?", issue.now - kExpiredTokenMemory);
  const std::string token = RandomHex(kTokenBytes);
  database.Run("INSERT INTO tokens (token_hash, user_id, address, device, issued, expires) VALUES (?, ?, ?, ?, ?, ?)",
               TokenHash(token), issue.userId, issue.address, issue.device, issue.now, issue.now + issue.lifetime);
  return token;
}

void EndTokensOfUser(Database& database, std::int64_t userId, const std::string& keptToken) {
  database.Run("DELETE FROM tokens WHERE user_id = ? AND token_hash <> ?", userId, TokenHash(keptToken));
}

Caller ResolveToken(Database& database, const std::string& token, const std::string& address, std::int64_t now) {
  Statement row = database.Query("SELECT user_id, address, expires FROM tokens WHERE token_hash = ?", TokenHash(token));
  if (!row.Step()) throw ServiceError(error_type::kInvalidAuthToken, "The auth token is not known");
  const bool anonymous = row.IsNull(0);
  const std::int64_t userId = anonymous ? 0 : row.Integer(0);
  const std::string issuedTo = row.Text(1);
  const std::int64_t expires = row.Integer(2);
  if (now >= expires) throw ServiceError(error_type::kExpiredAuthToken, "The auth token has expired");
  if (issuedTo != address)
    throw ServiceError(error_type::kAuthTokenIPAddress, "The auth token was issued to another address");
  if (anonymous) return Caller{};
  return CallerOfUser(database, userId);
}

}  // namespace velinst::service
