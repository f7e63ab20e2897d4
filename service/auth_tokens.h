// Auth tokens: random texts handed out at sign-in that expire after the
// service's token lifetime. Only their SHA-256 is stored, so a copy of the
// database opens no session. A token is bound to the address it was issued
// to.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "caller.h"
#include "sqlite_database.h"

namespace velinst::service {

struct TokenIssue {
  std::optional<std::int64_t> userId;  // none for an anonymous device token
  std::string address;
  std::string device;
  std::int64_t now = 0;
  std::int64_t lifetime = 0;
};

std::string IssueToken(Database& database, const TokenIssue& issue);

// Ends every token of the user except `keptToken` (which may be any text).
void EndTokensOfUser(Database& database, std::int64_t userId, const std::string& keptToken);

// The caller a token stands for. Throws ServiceError: InvalidAuthTokenException
// for an unknown token, ExpiredAuthTokenException once its lifetime is over,
// AuthTokenIPAddressException from another address.
Caller ResolveToken(Database& database, const std::string& token, const std::string& address, std::int64_t now);

}  // namespace velinst::service
