#include "caller.h"

#include "service_error.h"

namespace velinst::service {
namespace {

[[noreturn]] void NotAuthorized(const char* why) { throw ServiceError(error_type::kNotAuthorized, why); }

bool AdministersAccount(const Caller& caller, std::optional<std::int64_t> accountId) {
  if (!caller.accountAdmin) return false;
  return caller.ServiceAdmin() || (accountId && caller.accountId == accountId);
}

}  // namespace

Caller CallerOfUser(Database& database, std::int64_t userId) {
  Caller caller;
  caller.userId = userId;
  Statement user = database.Query("SELECT account_id FROM users WHERE id = ?", userId);
  if (user.Step() && !user.IsNull(0)) caller.accountId = user.Integer(0);
  caller.accountAdmin =
      database.Integer("SELECT 1 FROM roles WHERE user_id = ? AND role = ?", userId, kAccountAdminRole).has_value();
  return caller;
}

void RequireUser(const Caller& caller) {
  if (caller.Anonymous()) NotAuthorized("The method needs a signed-in user");
}

void RequireAccountAdmin(const Caller& caller) {
  if (!caller.accountAdmin) NotAuthorized("The method needs the AccountAdmin role");
}

void RequireServiceAdmin(const Caller& caller) {
  if (!caller.ServiceAdmin()) NotAuthorized("The method needs an AccountAdmin outside every account");
}

void RequireAccount(Database& database, std::int64_t accountId) {
  if (!database.Integer("SELECT 1 FROM accounts WHERE id = ?", accountId))
    throw ServiceError(error_type::kRecordNotFound, "No account has id " + std::to_string(accountId));
}

void RequireAdminOverAccount(Database& database, const Caller& caller, std::int64_t accountId) {
  RequireAccountAdmin(caller);
  RequireAccount(database, accountId);
  if (!AdministersAccount(caller, accountId)) NotAuthorized("The account is not one the caller administers");
}

std::optional<std::int64_t> RequireUserRecord(Database& database, std::int64_t userId) {
  Statement user = database.Query("SELECT account_id FROM users WHERE id = ?", userId);
  if (!user.Step()) throw ServiceError(error_type::kRecordNotFound, "No user has id " + std::to_string(userId));
  if (user.IsNull(0)) return std::nullopt;
  return user.Integer(0);
}

bool IsAdminOverUser(Database& database, const Caller& caller, std::int64_t userId) {
  return AdministersAccount(caller, RequireUserRecord(database, userId));
}

void RequireAdminOverUser(Database& database, const Caller& caller, std::int64_t userId) {
  RequireAccountAdmin(caller);
  if (!IsAdminOverUser(database, caller, userId)) NotAuthorized("The user is not one the caller administers");
}

void RequireSelfOrAdminOverUser(Database& database, const Caller& caller, std::int64_t userId) {
  RequireUser(caller);
  if (caller.userId == userId) {
    RequireUserRecord(database, userId);
    return;
  }
  if (!IsAdminOverUser(database, caller, userId)) NotAuthorized("The user is not the caller nor one it administers");
}

}  // namespace velinst::service
