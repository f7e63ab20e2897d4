// The "LiveTracking" group: users post where they are; team mates and
// administrators read the latest position of each as GPX waypoints.
#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "method_table.h"
#include "service_clock.h"
#include "service_error.h"
#include "value_text.h"

namespace velinst::service {
namespace {

// Positions kept per user; older ones are dropped.
constexpr int kPositionsKept = 100;

void Update(MethodContext& context) {
  const Caller caller = context.AuthenticateUser();
  const PostedRecord position = PostedRecord::Read(context.Body(), kLiveTrackingPositionRecord);
  if (!position.Has("Lat") || !position.Has("Lon"))
    throw ServiceError(error_type::kParameter, "A position needs Lat and Lon");
  if (std::fabs(position.Real("Lat")) > 90 || std::fabs(position.Real("Lon")) > 180)
    throw ServiceError(error_type::kParameterOutOfRange, "The position is off the earth");
  InsertRecord(context.Db(), position, {{"user_id", caller.userId}, {"received", context.Now()}});
  context.Db().Run(
      "DELETE FROM live_positions WHERE user_id = ? AND id NOT IN "
      "(SELECT id FROM live_positions WHERE user_id = ? ORDER BY id DESC LIMIT ?)",
      caller.userId, caller.userId, kPositionsKept);
}

bool SharesTeam(Database& database, std::int64_t userId, std::int64_t otherUserId) {
  return database
      .Integer(
          "SELECT 1 FROM team_members a JOIN team_members b ON a.team_id = b.team_id "
          "WHERE a.user_id = ? AND b.user_id = ?",
          userId, otherUserId)
      .has_value();
}

std::vector<std::int64_t> TeamMembers(MethodContext& context, const Caller& caller, std::int64_t teamId) {
  const auto accountId = context.Db().Integer("SELECT account_id FROM teams WHERE id = ?", teamId);
  if (!accountId) throw ServiceError(error_type::kRecordNotFound, "No team has id " + std::to_string(teamId));
  std::vector<std::int64_t> members;
  for (Statement rows =
           context.Db().Query("SELECT user_id FROM team_members WHERE team_id = ? ORDER BY user_id", teamId);
       rows.Step();)
    members.push_back(rows.Integer(0));
  if (std::find(members.begin(), members.end(), caller.userId) == members.end())
    RequireAdminOverAccount(context.Db(), caller, *accountId);
  return members;
}

std::vector<std::int64_t> ListedUsers(MethodContext& context, const Caller& caller, const std::string& list) {
  std::vector<std::int64_t> users;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t comma = std::min(list.find(',', start), list.size());
    const auto id = IntegerText(std::string_view(list).substr(start, comma - start));
    if (!id) throw ServiceError(error_type::kParameter, "userId is a list of whole numbers separated by commas");
    RequireUserRecord(context.Db(), *id);
    if (*id != caller.userId && !SharesTeam(context.Db(), caller.userId, *id) &&
        !IsAdminOverUser(context.Db(), caller, *id))
      throw ServiceError(error_type::kNotAuthorized, "User " + std::to_string(*id) + " is not the caller's to follow");
    users.push_back(*id);
    start = comma + 1;
  }
  return users;
}

// A team, a list of users, or both (the listed users who are in the team).
void Get(MethodContext& context) {
  const Caller caller = context.AuthenticateUser();
  const auto teamId = context.OptionalInteger("teamId");
  const std::string list = context.OptionalText("userId").value_or("");
  if (!teamId && list.empty())
    throw ServiceError(error_type::kMissingParameter, "Give a teamId, a userId list or both");
  std::vector<std::int64_t> users = list.empty() ? std::vector<std::int64_t>() : ListedUsers(context, caller, list);
  if (teamId) {
    const std::vector<std::int64_t> members = TeamMembers(context, caller, *teamId);
    if (list.empty())
      users = members;
    else
      std::erase_if(users,
                    [&](std::int64_t id) { return std::find(members.begin(), members.end(), id) == members.end(); });
  }
  const std::set<std::int64_t> unique(users.begin(), users.end());

  AnswerWriter& answer = context.Answer();
  answer.Open("gpx", {{"version", "1.1"}, {"creator", "velinst-service"}});
  for (const std::int64_t userId : unique) {
    Statement position = context.Db().Query(
        "SELECT lat, lon, ele, device_time_utc, message, message_type, properties, received, users.user_name "
        "FROM live_positions JOIN users ON users.id = live_positions.user_id "
        "WHERE user_id = ? ORDER BY live_positions.id DESC LIMIT 1",
        userId);
    if (!position.Step()) continue;
    answer.Open("wpt", {{"lat", RealText(position.Real(0), 6)}, {"lon", RealText(position.Real(1), 6)}});
    answer.Element("ele", RealText(position.Real(2), 1));
    answer.Element("time", position.Text(3));
    answer.Element("name", position.Text(8));
    answer.Element("desc", position.Text(4));
    answer.Element("type", position.Text(5));
    answer.Open("extensions");
    answer.Element("UserID", userId);
    answer.Element("Properties", position.Text(6));
    answer.Element("Received", FormatTimestamp(position.Integer(7)));
    answer.Close();
    answer.Close();
  }
  answer.Close();
}

constexpr MethodEntry kMethods[] = {
    {"LiveTracking.Get", Get},
    {"LiveTracking.Update", Update},
};

}  // namespace

std::span<const MethodEntry> LiveTrackingMethods() { return kMethods; }

}  // namespace velinst::service
