// The "Account" group: sign-in (user or device), registration, passwords,
// profile, and the availability checks.
#include <cstdlib>

#include "account_rules.h"
#include "auth_tokens.h"
#include "method_table.h"
#include "password_change.h"
#include "service_clock.h"
#include "service_error.h"
#include "text_form.h"

namespace velinst::service {
namespace {

// A device's time stamp must be this fresh for an anonymous token.
constexpr std::int64_t kTimeStampTolerance = 600;

constexpr const char* kDeviceFields[] = {"hardwareID", "appName", "appVersion", "manufacturer",
                                         "model",      "carrier", "firmware",   "drmInfo"};

void WriteExists(MethodContext& context, bool exists) { context.Answer().Element("Exists", exists ? "True" : "False"); }

void DisplayNameExists(MethodContext& context) {
  const std::string name = context.Text("displayName");
  WriteExists(context, !name.empty() && context.Db().Integer("SELECT 1 FROM users WHERE display_name = ?", name));
}

void EmailAddressExists(MethodContext& context) {
  const std::string email = context.Text("emailAddress");
  WriteExists(context, !email.empty() && context.Db().Integer("SELECT 1 FROM users WHERE email = ?", email));
}

void UsernameExists(MethodContext& context) {
  WriteExists(context,
              context.Db().Integer("SELECT 1 FROM users WHERE user_name = ?", context.Text("username")).has_value());
}

void GetTimeStamp(MethodContext& context) {
  context.Answer().Element("CurrentTimeStamp", FormatTimestamp(context.Now()));
}

// The device texts of a sign-in, kept with its token.
std::string DeviceDescription(const MethodContext& context) {
  std::string device;
  for (const char* field : kDeviceFields)
    if (const auto value = context.OptionalText(field)) device += std::string(field) + "=" + *value + ";";
  return device;
}

std::string IssueFor(MethodContext& context, std::optional<std::int64_t> userId) {
  return IssueToken(context.Db(), {userId, context.Request().remoteAddress, DeviceDescription(context), context.Now(),
                                   context.Settings().tokenTtlSeconds});
}

void GetAnonymousAuthToken(MethodContext& context) {
  const std::string stamp = context.Text("timestamp");
  const auto instant = ParseTimestamp(stamp);
  if (!instant) throw ServiceError(error_type::kParameter, "The time stamp is not one this service gave out");
  if (std::llabs(context.Now() - *instant) > kTimeStampTolerance)
    throw ServiceError(error_type::kParameterOutOfRange, "The time stamp is more than ten minutes away from now");
  context.Answer().Element("AuthToken", IssueFor(context, std::nullopt));
}

// The answer of a sign-in: token, user id, weight and units.
void WriteSignIn(MethodContext& context, std::int64_t userId) {
  const std::string token = IssueFor(context, userId);
  Statement user = context.Db().Query("SELECT weight, units FROM users WHERE id = ?", userId);
  user.Step();
  AnswerWriter& answer = context.Answer();
  answer.Element("AuthToken", token);
  answer.Element("UserID", userId);
  answer.Element("Weight", RealText(user.Real(0), 6));
  answer.Element("Units", user.Text(1));
}

// The library's account creation signs an existing user in with the
// password as the person typed it, its plain sign-in sends it escaped (the
// form kept here). A password that escaping changes is therefore also tried
// escaped: it opens only for the user's own password in either form.
bool VerifyUnescapedPassword(const MethodContext& context, const std::string& password, const std::string& stored) {
  const std::string escaped = EscapeMarkup(password);
  return escaped != password && context.Passwords().Verify(escaped, stored);
}

void Login(MethodContext& context) {
  const std::string userName = context.Text("username");
  const std::string password = context.Text("password", kMaxPasswordLength);
  Statement user = context.Db().Query("SELECT id, password_hash FROM users WHERE user_name = ?", userName);
  if (!user.Step()) throw ServiceError(error_type::kInvalidCredentials, "No user has that name");
  const std::int64_t userId = user.Integer(0);
  const std::string stored = user.Text(1);
  if (!context.Passwords().Verify(password, stored) && !VerifyUnescapedPassword(context, password, stored))
    throw ServiceError(error_type::kIncorrectPassword, "The password is not the user's");
  WriteSignIn(context, userId);
}

void Register(MethodContext& context) {
  Database& database = context.Db();
  const std::string userName = context.Text("username");
  const std::string password = context.Text("password", kMaxPasswordLength);
  const std::string email = context.Text("emailAddress");
  const bool newsletter = context.OptionalBoolean("newsLetterOptIn").value_or(false);
  const double weight = context.OptionalReal("weight").value_or(0);
  const std::string units = context.OptionalText("units").value_or("");
  CheckUserNameFormat(userName);
  CheckPasswordFormat(password);
  CheckEmailFormat(email);
  CheckUserNameFree(database, userName);
  CheckEmailFree(database, email);
  database.Run(
      "INSERT INTO users (user_name, email, receive_newsletter, weight, units, password_hash, created) "
      "VALUES (?, ?, ?, ?, ?, ?, ?)",
      userName, email, newsletter, weight, units, context.Passwords().Hash(password), context.Now());
  WriteSignIn(context, database.LastInsertId());
}

void ChangePassword(MethodContext& context) {
  const Caller caller = context.AuthenticateUser();
  const std::string oldPassword = context.Text("oldPassword", kMaxPasswordLength);
  const std::string newPassword = context.Text("newPassword", kMaxPasswordLength);
  std::string stored;
  {
    // Done with before the change reads the same row with the same statement.
    Statement user = context.Db().Query("SELECT password_hash FROM users WHERE id = ?", caller.userId);
    if (user.Step() && !user.IsNull(0)) stored = user.Text(0);
  }
  if (!context.Passwords().Verify(oldPassword, stored))
    throw ServiceError(error_type::kIncorrectPassword, "The old password is not the user's");
  CheckPasswordFormat(newPassword);
  ChangeUserPassword(context, caller.userId, newPassword);
}

// There is no mail to send: the request is recorded for the user's account.
void ResetPassword(MethodContext& context) {
  const std::string email = context.Text("emailAddress");
  const bool forceChange = context.Boolean("forceChangeOnNextLogin");
  const auto userId =
      email.empty() ? std::nullopt : context.Db().Integer("SELECT id FROM users WHERE email = ?", email);
  if (!userId) throw ServiceError(error_type::kRecordNotFound, "No user has that e-mail address");
  context.Db().Run("INSERT INTO password_resets (user_id, force_change, requested) VALUES (?, ?, ?)", *userId,
                   forceChange, context.Now());
}

// Empty texts leave the stored ones as they are.
void Update(MethodContext& context) {
  Database& database = context.Db();
  const Caller caller = context.AuthenticateUser();
  const std::string displayName = context.Text("displayName");
  const std::string email = context.Text("emailAddress");
  const auto weight = context.OptionalReal("weight");
  const auto units = context.OptionalText("units");
  if (!displayName.empty()) {
    CheckDisplayNameFree(database, displayName, caller.userId);
    database.Run("UPDATE users SET display_name = ? WHERE id = ?", displayName, caller.userId);
  }
  if (!email.empty()) {
    CheckEmailFormat(email);
    CheckEmailFree(database, email, caller.userId);
    database.Run("UPDATE users SET email = ? WHERE id = ?", email, caller.userId);
  }
  if (weight) database.Run("UPDATE users SET weight = ? WHERE id = ?", *weight, caller.userId);
  if (units) database.Run("UPDATE users SET units = ? WHERE id = ?", *units, caller.userId);
}

constexpr MethodEntry kMethods[] = {
    {"Account.DisplayNameExists", DisplayNameExists},
    {"Account.EmailAddressExists", EmailAddressExists},
    {"Account.UsernameExists", UsernameExists},
    {"Account.GetTimeStamp", GetTimeStamp},
    {"Account.GetAnonymousAuthToken", GetAnonymousAuthToken, Encryption::kDeviceInfo},
    {"Account.Login", Login, Encryption::kData},
    {"Account.Register", Register, Encryption::kData},
    {"Account.ChangePassword", ChangePassword, Encryption::kData},
    {"Account.ResetPassword", ResetPassword},
    {"Account.Update", Update},
};

}  // namespace

std::span<const MethodEntry> AccountMethods() { return kMethods; }

}  // namespace velinst::service
