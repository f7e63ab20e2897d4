#include "trip_records.h"

#include <vector>

#include "service_error.h"

namespace velinst::service {
namespace {

std::string Trailhead(const Statement& row, int latitudeColumn) {
  if (row.IsNull(latitudeColumn)) return {};
  return RealText(row.Real(latitudeColumn), 6) + "," + RealText(row.Real(latitudeColumn + 1), 6);
}

}  // namespace

void WriteTripStats(AnswerWriter& answer, const Statement& row) {
  answer.Empty("TripStats", {{"id", std::to_string(row.Integer(0))},
                             {"name", row.Text(1)},
                             {"activityType", row.Text(2)},
                             {"date", row.Text(3)},
                             {"distance", RealText(row.Real(4), 1)},
                             {"calories", std::to_string(row.Integer(5))},
                             {"duration", std::to_string(row.Integer(6))},
                             {"resting", std::to_string(row.Integer(7))},
                             {"unaccounted", std::to_string(row.Integer(8))},
                             {"summary", row.Text(9)},
                             {"eleGain", RealText(row.Real(10), 1)},
                             {"eleLoss", RealText(row.Real(11), 1)},
                             {"trailhead", Trailhead(row, 12)},
                             {"userID", std::to_string(row.Integer(14))},
                             {"animalType", row.Text(15)}});
}

void WriteTripInfo(Database& database, AnswerWriter& answer, std::int64_t tripId) {
  Statement row = database.Query(
      "SELECT id, name, date, distance, calories, duration, resting, unaccounted, summary, ele_gain, ele_loss, "
      "trailhead_lat, trailhead_lon, user_id, track_count, route_count, point_count, "
      "(SELECT COUNT(*) FROM trip_pois WHERE trip_id = trips.id), "
      "(SELECT COUNT(*) FROM trip_media WHERE trip_id = trips.id), waypoint_count "
      "FROM trips WHERE id = ?",
      tripId);
  if (!row.Step()) return;
  answer.Empty("TripInfo", {{"id", std::to_string(row.Integer(0))},
                            {"name", row.Text(1)},
                            {"date", row.Text(2)},
                            {"distance", RealText(row.Real(3), 1)},
                            {"calories", std::to_string(row.Integer(4))},
                            {"duration", std::to_string(row.Integer(5))},
                            {"resting", std::to_string(row.Integer(6))},
                            {"unaccounted", std::to_string(row.Integer(7))},
                            {"summary", row.Text(8)},
                            {"eleGain", RealText(row.Real(9), 1)},
                            {"eleLoss", RealText(row.Real(10), 1)},
                            {"trailhead", Trailhead(row, 11)},
                            {"userID", std::to_string(row.Integer(13))},
                            {"poiCount", std::to_string(row.Integer(17) + row.Integer(19))},
                            {"trackCount", std::to_string(row.Integer(14))},
                            {"mediaCount", std::to_string(row.Integer(18))},
                            {"routeCount", std::to_string(row.Integer(15))},
                            {"totalPointCount", std::to_string(row.Integer(16))}});
}

std::int64_t RequireTrip(Database& database, std::int64_t tripId) {
  const auto owner = database.Integer("SELECT user_id FROM trips WHERE id = ?", tripId);
  if (!owner) throw ServiceError(error_type::kRecordNotFound, "No trip has id " + std::to_string(tripId));
  return *owner;
}

void RequireTripReader(Database& database, const Caller& caller, std::int64_t tripId) {
  const std::int64_t owner = RequireTrip(database, tripId);
  if (!caller.Anonymous() && caller.userId == owner) return;
  if (database.Integer("SELECT shared FROM trips WHERE id = ?", tripId).value_or(0) != 0) return;
  if (!caller.Anonymous() &&
      database.Integer("SELECT 1 FROM team_trips JOIN team_members ON team_members.team_id = team_trips.team_id "
                       "WHERE team_trips.trip_id = ? AND team_members.user_id = ?",
                       tripId, caller.userId))
    return;
  if (IsAdminOverUser(database, caller, owner)) return;
  throw ServiceError(error_type::kNotAuthorized, "The trip is not the caller's, nor shared with it");
}

void RequireTripOwner(Database& database, const Caller& caller, std::int64_t tripId) {
  if (RequireTrip(database, tripId) != caller.userId || caller.Anonymous())
    throw ServiceError(error_type::kNotAuthorized, "Only the trip's owner changes it");
}

void TouchTrip(Database& database, std::int64_t tripId, std::int64_t modified) {
  database.Run("UPDATE trips SET revision = revision + 1, modified = ? WHERE id = ?", modified, tripId);
}

}  // namespace velinst::service
