// The "TeamTrips" group (trips added to a team for its members) and
// "PrivateTrips" (a user's trips that are not shared).
#include "method_table.h"
#include "service_clock.h"
#include "service_error.h"
#include "trip_records.h"

namespace velinst::service {
namespace {

// Members of the team and administrators of its account.
void RequireTeamReader(Database& database, const Caller& caller, std::int64_t teamId) {
  const auto accountId = database.Integer("SELECT account_id FROM teams WHERE id = ?", teamId);
  if (!accountId) throw ServiceError(error_type::kRecordNotFound, "No team has id " + std::to_string(teamId));
  if (caller.Anonymous() ||
      !database.Integer("SELECT 1 FROM team_members WHERE team_id = ? AND user_id = ?", teamId, caller.userId))
    RequireAdminOverAccount(database, caller, *accountId);
}

void Get(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t teamId = context.Integer("teamId");
  RequireTeamReader(context.Db(), caller, teamId);
  context.Answer().Open("TeamTrips");
  WriteTripStatsList(context.Db(), context.Answer(),
                     "WHERE id IN (SELECT trip_id FROM team_trips WHERE team_id = ?) ORDER BY id", teamId);
  context.Answer().Close();
}

void GetTripListIDsAndRevisionNumber(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t teamId = context.Integer("teamId");
  RequireTeamReader(context.Db(), caller, teamId);
  context.Answer().Open("IDPairs");
  for (Statement rows = context.Db().Query(
           "SELECT trips.id, trips.revision FROM trips JOIN team_trips ON team_trips.trip_id = trips.id "
           "WHERE team_trips.team_id = ? ORDER BY trips.id",
           teamId);
       rows.Step();)
    context.Answer().Empty("IDPair",
                           {{"Id", std::to_string(rows.Integer(0))}, {"Value", std::to_string(rows.Integer(1))}});
  context.Answer().Close();
}

// A trip goes to a team by its owner or an administrator of the owner.
void Add(MethodContext& context) {
  const Caller caller = context.AuthenticateUser();
  const std::int64_t teamId = context.Integer("teamId");
  const std::int64_t tripId = context.Integer("tripId");
  RequireTeamReader(context.Db(), caller, teamId);
  const std::int64_t owner = RequireTrip(context.Db(), tripId);
  if (owner != caller.userId) RequireAdminOverUser(context.Db(), caller, owner);
  if (context.Db().Integer("SELECT 1 FROM team_trips WHERE team_id = ? AND trip_id = ?", teamId, tripId))
    throw ServiceError(error_type::kDuplicateValue, "The trip is the team's already");
  context.Db().Run("INSERT INTO team_trips (team_id, trip_id) VALUES (?, ?)", teamId, tripId);
}

void Remove(MethodContext& context) {
  const Caller caller = context.AuthenticateUser();
  const std::int64_t teamId = context.Integer("teamId");
  const std::int64_t tripId = context.Integer("tripId");
  RequireTeamReader(context.Db(), caller, teamId);
  if (context.Db().Run("DELETE FROM team_trips WHERE team_id = ? AND trip_id = ?", teamId, tripId) == 0)
    throw ServiceError(error_type::kRecordNotFound, "The trip is not the team's");
}

void GetPrivate(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t userId = context.Integer("userId");
  RequireSelfOrAdminOverUser(context.Db(), caller, userId);
  context.Answer().Open("PrivateTrips");
  WriteTripStatsList(context.Db(), context.Answer(), "WHERE user_id = ? AND shared = 0 ORDER BY id", userId);
  context.Answer().Close();
}

constexpr MethodEntry kMethods[] = {
    {"TeamTrips.Get", Get},           {"TeamTrips.GetTripListIDsAndRevisionNumber", GetTripListIDsAndRevisionNumber},
    {"TeamTrips.Add", Add},           {"TeamTrips.Remove", Remove},
    {"PrivateTrips.Get", GetPrivate},
};

}  // namespace

std::span<const MethodEntry> TeamTripMethods() { return kMethods; }

}  // namespace velinst::service
