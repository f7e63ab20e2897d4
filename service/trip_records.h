// Trips as answers carry them: the "TripStats" summary (also the record of
// team and private trip lists) and the "TripInfo" details, both as
// attributes; and who may read or change a trip.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "answer_writer.h"
#include "caller.h"
#include "sqlite_database.h"

namespace velinst::service {

// The columns WriteTripStats reads, for "SELECT <these> FROM trips ...".
inline constexpr std::string_view kTripStatsColumns =
    "trips.id, trips.name, trips.activity_type, trips.date, trips.distance, trips.calories, trips.duration, "
    "trips.resting, trips.unaccounted, trips.summary, trips.ele_gain, trips.ele_loss, trips.trailhead_lat, "
    "trips.trailhead_lon, trips.user_id, trips.animal_type";

void WriteTripStats(AnswerWriter& answer, const Statement& row);

// Every trip that "SELECT <kTripStatsColumns> FROM trips " + tail finds.
template <typename... Args>
int WriteTripStatsList(Database& database, AnswerWriter& answer, std::string_view tail, const Args&... args) {
  Statement rows =
      database.Query("SELECT " + std::string(kTripStatsColumns) + " FROM trips " + std::string(tail), args...);
  int count = 0;
  for (; rows.Step(); ++count) WriteTripStats(answer, rows);
  return count;
}

void WriteTripInfo(Database& database, AnswerWriter& answer, std::int64_t tripId);

// The trip's owner; RecordNotFoundException when there is no such trip.
std::int64_t RequireTrip(Database& database, std::int64_t tripId);
// Its owner, anyone when it is shared, the members of a team it was added
// to, and the administrators of its owner may read a trip.
void RequireTripReader(Database& database, const Caller& caller, std::int64_t tripId);
// Only its owner changes a trip.
void RequireTripOwner(Database& database, const Caller& caller, std::int64_t tripId);
// A change to a trip's content: new revision, new modification time.
void TouchTrip(Database& database, std::int64_t tripId, std::int64_t modified);

}  // namespace velinst::service
