#include "password_change.h"

#include "auth_tokens.h"

namespace velinst::service {

void ChangeUserPassword(MethodContext& context, std::int64_t userId, const std::string& password) {
  Database& database = context.Db();
  Statement user = database.Query("SELECT password_hash FROM users WHERE id = ?", userId);
  const std::string stored = user.Step() && !user.IsNull(0) ? user.Text(0) : std::string();
  if (context.Passwords().Verify(password, stored)) return;
  database.Run("UPDATE users SET password_hash = ? WHERE id = ?", context.Passwords().Hash(password), userId);
  const std::string* token = context.Request().parameters.Find("authToken");
  EndTokensOfUser(database, userId, token != nullptr ? *token : std::string());
}

}  // namespace velinst::service
