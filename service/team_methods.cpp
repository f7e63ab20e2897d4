// The "Teams" and "TeamMembers" groups: teams within an account and the
// users in them, each with a role text of the team's own.
#include "method_table.h"
#include "service_error.h"

namespace velinst::service {
namespace {

std::int64_t TeamAccount(Database& database, std::int64_t teamId) {
  const auto accountId = database.Integer("SELECT account_id FROM teams WHERE id = ?", teamId);
  if (!accountId) throw ServiceError(error_type::kRecordNotFound, "No team has id " + std::to_string(teamId));
  return *accountId;
}

bool IsMember(Database& database, std::int64_t teamId, std::int64_t userId) {
  return database.Integer("SELECT 1 FROM team_members WHERE team_id = ? AND user_id = ?", teamId, userId).has_value();
}

// Users of an account see its teams; administrators see and change them.
void RequireAccountReader(Database& database, const Caller& caller, std::int64_t accountId) {
  if (caller.Anonymous() || caller.accountId != accountId) RequireAdminOverAccount(database, caller, accountId);
}

PostedRecord PostedTeam(MethodContext& context, std::int64_t accountId, std::int64_t exceptTeamId) {
  PostedRecord team = PostedRecord::Read(context.Body(), kTeamRecord);
  if (team.Has("Name")) {
    if (team.Text("Name").empty()) throw ServiceError(error_type::kParameter, "A team's name is not empty");
    if (context.Db().Integer("SELECT 1 FROM teams WHERE account_id = ? AND name = ? AND id <> ?", accountId,
                             team.Text("Name"), exceptTeamId))
      throw ServiceError(error_type::kDuplicateValue, "The account has a team of that name");
  }
  return team;
}

void WriteTeam(MethodContext& context, std::int64_t teamId) {
  WriteRecords(context.Db(), context.Answer(), kTeamRecord, "WHERE id = ?", teamId);
}

void GetTeams(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t accountId = context.Integer("accountId");
  RequireAccountReader(context.Db(), caller, accountId);
  context.Answer().Open("Teams");
  WriteRecords(context.Db(), context.Answer(), kTeamRecord, "WHERE account_id = ? ORDER BY id", accountId);
  context.Answer().Close();
}

void GetTeamById(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t id = context.Integer("id");
  RequireAccountReader(context.Db(), caller, TeamAccount(context.Db(), id));
  WriteTeam(context, id);
}

// The teams the caller is a member of.
void FindTeams(MethodContext& context) {
  const Caller caller = context.AuthenticateUser();
  context.Answer().Open("Teams");
  WriteRecords(context.Db(), context.Answer(), kTeamRecord,
               "WHERE id IN (SELECT team_id FROM team_members WHERE user_id = ?) ORDER BY id", caller.userId);
  context.Answer().Close();
}

void AddTeam(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t accountId = context.Integer("accountId");
  RequireAdminOverAccount(context.Db(), caller, accountId);
  PostedRecord team = PostedTeam(context, accountId, 0);
  if (!team.Has("Name")) throw ServiceError(error_type::kParameter, "A team needs a Name");
  WriteTeam(context, InsertRecord(context.Db(), team, {{"account_id", accountId}}));
}

void UpdateTeam(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t id = context.Integer("id");
  const std::int64_t accountId = TeamAccount(context.Db(), id);
  RequireAdminOverAccount(context.Db(), caller, accountId);
  UpdateRecord(context.Db(), PostedTeam(context, accountId, id), "id", id);
  WriteTeam(context, id);
}

void RemoveTeam(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t id = context.Integer("id");
  RequireAdminOverAccount(context.Db(), caller, TeamAccount(context.Db(), id));
  context.Db().Run("DELETE FROM teams WHERE id = ?", id);
}

void GetMembers(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t teamId = context.Integer("teamId");
  const std::int64_t accountId = TeamAccount(context.Db(), teamId);
  if (!IsMember(context.Db(), teamId, caller.userId)) RequireAdminOverAccount(context.Db(), caller, accountId);
  context.Answer().Open("TeamMembers");
  WriteRecords(context.Db(), context.Answer(), kTeamMemberRecord, "WHERE team_id = ? ORDER BY user_id", teamId);
  context.Answer().Close();
}

void AddMember(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t teamId = context.Integer("teamId");
  const std::int64_t accountId = TeamAccount(context.Db(), teamId);
  RequireAdminOverAccount(context.Db(), caller, accountId);
  const PostedRecord member = PostedRecord::Read(context.Body(), kTeamMemberRecord);
  const std::int64_t userId = member.Integer("UserId");
  if (!member.Has("UserId")) throw ServiceError(error_type::kParameter, "A team member needs a UserId");
  if (RequireUserRecord(context.Db(), userId) != accountId)
    throw ServiceError(error_type::kParameter, "The user does not belong to the team's account");
  if (IsMember(context.Db(), teamId, userId))
    throw ServiceError(error_type::kDuplicateValue, "The user is a member of the team");
  InsertRecord(context.Db(), member, {{"team_id", teamId}});
  WriteRecords(context.Db(), context.Answer(), kTeamMemberRecord, "WHERE team_id = ? AND user_id = ?", teamId, userId);
}

// Keyed by user alone: the role changes in every team the user is in.
void UpdateMember(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t userId = context.Integer("userId");
  RequireAdminOverUser(context.Db(), caller, userId);
  PostedRecord member = PostedRecord::Read(context.Body(), kTeamMemberRecord);
  if (member.Has("UserId") && member.Integer("UserId") != userId)
    throw ServiceError(error_type::kParameter, "The document's UserId is not the userId of the request");
  member.Remove("UserId");
  if (!context.Db().Integer("SELECT 1 FROM team_members WHERE user_id = ?", userId))
    throw ServiceError(error_type::kRecordNotFound, "The user is in no team");
  UpdateRecord(context.Db(), member, "user_id", userId);
  WriteRecords(context.Db(), context.Answer(), kTeamMemberRecord, "WHERE user_id = ? ORDER BY team_id LIMIT 1", userId);
}

void RemoveMember(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t teamId = context.Integer("teamId");
  const std::int64_t userId = context.Integer("userId");
  RequireAdminOverAccount(context.Db(), caller, TeamAccount(context.Db(), teamId));
  if (context.Db().Run("DELETE FROM team_members WHERE team_id = ? AND user_id = ?", teamId, userId) == 0)
    throw ServiceError(error_type::kRecordNotFound, "The user is not a member of the team");
}

constexpr MethodEntry kMethods[] = {
    {"Teams.Get", GetTeams},
    {"Teams.GetById", GetTeamById},
    {"Teams.Find", FindTeams},
    {"Teams.Add", AddTeam},
    {"Teams.Update", UpdateTeam},
    {"Teams.Remove", RemoveTeam},
    {"TeamMembers.Get", GetMembers},
    {"TeamMembers.Add", AddMember},
    {"TeamMembers.Update", UpdateMember},
    {"TeamMembers.Remove", RemoveMember},
};

}  // namespace

std::span<const MethodEntry> TeamMethods() { return kMethods; }

}  // namespace velinst::service
