// The "AccountUsers" group: the users of an account.
#include "account_rules.h"
#include "method_table.h"
#include "password_change.h"
#include "service_error.h"

namespace velinst::service {
namespace {

void WriteUser(MethodContext& context, std::int64_t userId) {
  WriteRecords(context.Db(), context.Answer(), kAccountUserRecord, "WHERE id = ?", userId);
}

PostedRecord PostedUser(MethodContext& context, std::int64_t exceptUserId) {
  PostedRecord user = PostedRecord::Read(context.Body(), kAccountUserRecord);
  if (user.Has("UserName")) {
    CheckUserNameFormat(user.Text("UserName"));
    CheckUserNameFree(context.Db(), user.Text("UserName"), exceptUserId);
  }
  if (!user.Text("Email").empty()) {
    CheckEmailFormat(user.Text("Email"));
    CheckEmailFree(context.Db(), user.Text("Email"), exceptUserId);
  }
  CheckPhoneFormat(user.Text("Phone"));
  return user;
}

// An account made with a number of seats takes no more users than that.
void RequireFreeSeat(Database& database, std::int64_t accountId) {
  const std::int64_t seats = database.Integer("SELECT seats FROM accounts WHERE id = ?", accountId).value_or(0);
  const std::int64_t users = database.Integer("SELECT COUNT(*) FROM users WHERE account_id = ?", accountId).value_or(0);
  if (seats > 0 && users >= seats)
    throw ServiceError(error_type::kParameterOutOfRange, "Every user seat of the account is taken");
}

void Get(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t accountId = context.Integer("accountId");
  RequireAdminOverAccount(context.Db(), caller, accountId);
  context.Answer().Open("AccountUsers");
  WriteRecords(context.Db(), context.Answer(), kAccountUserRecord, "WHERE account_id = ? ORDER BY id", accountId);
  context.Answer().Close();
}

// For the team's members and the administrators of its account.
void GetByTeamId(MethodContext& context) {
  const Caller caller = context.AuthenticateUser();
  const std::int64_t teamId = context.Integer("teamId");
  const auto accountId = context.Db().Integer("SELECT account_id FROM teams WHERE id = ?", teamId);
  if (!accountId) throw ServiceError(error_type::kRecordNotFound, "No team has id " + std::to_string(teamId));
  const bool member =
      context.Db()
          .Integer("SELECT 1 FROM team_members WHERE team_id = ? AND user_id = ?", teamId, caller.userId)
          .has_value();
  if (!member) RequireAdminOverAccount(context.Db(), caller, *accountId);
  context.Answer().Open("AccountUsers");
  WriteRecords(context.Db(), context.Answer(), kAccountUserRecord,
               "WHERE id IN (SELECT user_id FROM team_members WHERE team_id = ?) ORDER BY id", teamId);
  context.Answer().Close();
}

void GetById(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t id = context.Integer("id");
  RequireSelfOrAdminOverUser(context.Db(), caller, id);
  WriteUser(context, id);
}

void Add(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t accountId = context.Integer("accountId");
  RequireAdminOverAccount(context.Db(), caller, accountId);
  PostedRecord user = PostedUser(context, 0);
  if (!user.Has("UserName")) throw ServiceError(error_type::kUsernameFormat, "The user has no UserName");
  RequireFreeSeat(context.Db(), accountId);
  WriteUser(context, InsertRecord(context.Db(), user, {{"account_id", accountId}, {"created", context.Now()}}));
}

void Transfer(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t userId = context.Integer("userId");
  const std::int64_t accountId = context.Integer("accountId");
  RequireAdminOverAccount(context.Db(), caller, accountId);
  RequireAdminOverUser(context.Db(), caller, userId);
  if (RequireUserRecord(context.Db(), userId) == accountId) return;
  RequireFreeSeat(context.Db(), accountId);
  context.Db().Run("UPDATE users SET account_id = ? WHERE id = ?", accountId, userId);
}

void Update(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t id = context.Integer("id");
  RequireSelfOrAdminOverUser(context.Db(), caller, id);
  UpdateRecord(context.Db(), PostedUser(context, id), "id", id);
  WriteUser(context, id);
}

// The user's roles, team places, positions, trips and tokens go with it.
void Remove(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t id = context.Integer("id");
  RequireAdminOverUser(context.Db(), caller, id);
  context.Db().Run("DELETE FROM users WHERE id = ?", id);
}

void SetPassword(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t userId = context.Integer("userId");
  RequireSelfOrAdminOverUser(context.Db(), caller, userId);
  const PostedRecord request = PostedRecord::Read(context.Body(), kSetPasswordRequestRecord);
  const std::string password = request.Text("Password");
  CheckPasswordFormat(password);
  ChangeUserPassword(context, userId, password);
}

constexpr MethodEntry kMethods[] = {
    {"AccountUsers.Get", Get},       {"AccountUsers.GetByTeamId", GetByTeamId}, {"AccountUsers.GetById", GetById},
    {"AccountUsers.Add", Add},       {"AccountUsers.Transfer", Transfer},       {"AccountUsers.Update", Update},
    {"AccountUsers.Remove", Remove}, {"AccountUsers.SetPassword", SetPassword},
};

}  // namespace

std::span<const MethodEntry> AccountUsersMethods() { return kMethods; }

}  // namespace velinst::service
