// Who sent a request, from its auth token, and what they may touch.
//
// "AccountAdmin" gates the administrative methods. An AccountAdmin who
// belongs to an account administers that account and its users; one who
// belongs to none (the user --admin creates) administers every account.
#pragma once

#include <cstdint>
#include <optional>

#include "sqlite_database.h"

namespace velinst::service {

inline constexpr const char* kAccountAdminRole = "AccountAdmin";

struct Caller {
  std::int64_t userId = 0;  // 0 for an anonymous (device) token
  std::optional<std::int64_t> accountId;
  bool accountAdmin = false;

  bool Anonymous() const { return userId == 0; }
  bool ServiceAdmin() const { return accountAdmin && !accountId; }
};

// The caller of a signed-in user's id (account and role looked up).
Caller CallerOfUser(Database& database, std::int64_t userId);

// Each throws ServiceError: NotAuthorizedException, or
// RecordNotFoundException for a record that does not exist.
void RequireUser(const Caller& caller);
void RequireAccountAdmin(const Caller& caller);
void RequireServiceAdmin(const Caller& caller);
void RequireAccount(Database& database, std::int64_t accountId);
void RequireAdminOverAccount(Database& database, const Caller& caller, std::int64_t accountId);
// The user's account (none for a user outside every account).
std::optional<std::int64_t> RequireUserRecord(Database& database, std::int64_t userId);
void RequireAdminOverUser(Database& database, const Caller& caller, std::int64_t userId);
void RequireSelfOrAdminOverUser(Database& database, const Caller& caller, std::int64_t userId);
bool IsAdminOverUser(Database& database, const Caller& caller, std::int64_t userId);

}  // namespace velinst::service
