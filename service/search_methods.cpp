// The "Search" group: trips the caller may see (its own and shared ones)
// by text and figures, within an area or near a point. Distances are in
// metres, durations in seconds, difficulty from 1 to 5.
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "geo_distance.h"
#include "method_table.h"
#include "service_clock.h"
#include "service_error.h"
#include "text_form.h"
#include "trip_records.h"

namespace velinst::service {
namespace {

constexpr std::int64_t kMaxPageSize = 100;
constexpr std::int64_t kNoLimitBelow = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kNoLimitAbove = std::numeric_limits<std::int32_t>::max();
constexpr double kMaxAreaDegrees = 10.0;
constexpr double kMaxRadiusMeters = 500000.0;

struct Candidate {
  std::int64_t id;
  double latitude;
  double longitude;
  bool located;
  double order;  // sort key; the id breaks ties
};

struct Page {
  std::int64_t size;
  std::int64_t offset;
};

Page ReadPage(const MethodContext& context) {
  const Page page{context.Integer("pageSize"), context.Integer("offset")};
  if (page.size < 1 || page.size > kMaxPageSize)
    throw ServiceError(error_type::kParameterOutOfRange, "pageSize is from 1 to 100");
  if (page.offset < 0) throw ServiceError(error_type::kParameterOutOfRange, "offset is not negative");
  return page;
}

// The trips the caller may see that pass the SQL filter `where` (after
// "WHERE <visible> AND "), as candidates in id order.
template <typename... Args>
std::vector<Candidate> Candidates(MethodContext& context, const Caller& caller, const std::string& where,
                                  const Args&... args) {
  std::vector<Candidate> candidates;
  Statement rows =
      context.Db().Query("SELECT id, trailhead_lat, trailhead_lon FROM trips WHERE (shared <> 0 OR user_id = ?) AND " +
                             where + " ORDER BY id",
                         caller.userId, args...);
  while (rows.Step()) candidates.push_back({rows.Integer(0), rows.Real(1), rows.Real(2), !rows.IsNull(1), 0});
  return candidates;
}

void WriteResults(MethodContext& context, std::vector<Candidate>& found, const Page& page) {
  std::stable_sort(found.begin(), found.end(),
                   [](const Candidate& a, const Candidate& b) { return a.order < b.order; });
  AnswerWriter& answer = context.Answer();
  answer.Element("Total", static_cast<std::int64_t>(found.size()));
  answer.Open("Trips");
  for (std::size_t i = static_cast<std::size_t>(page.offset);
       i < found.size() && i < static_cast<std::size_t>(page.offset + page.size); ++i)
    WriteTripStatsList(context.Db(), answer, "WHERE id = ?", found[i].id);
  answer.Close();
}

// "a,b,c" into its non-empty parts.
std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    if (comma > start) parts.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
  return parts;
}

// Text for LIKE with '\' as the escape character.
std::string LikePattern(const std::string& text) {
  std::string pattern = "%";
  for (const char c : text) {
    if (c == '%' || c == '_' || c == '\\') pattern += '\\';
    pattern += c;
  }
  return pattern + "%";
}

void FindTrips(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::string query = context.Text("query");
  const Page page = ReadPage(context);
  const auto activities = context.OptionalText("activities");
  const std::int64_t minDistance = context.OptionalInteger("minDistanceOfTrip").value_or(kNoLimitBelow);
  const std::int64_t maxDistance = context.OptionalInteger("maxDistanceOfTrip").value_or(kNoLimitAbove);
  const std::int64_t minDuration = context.OptionalInteger("minDurationOfTrip").value_or(kNoLimitBelow);
  const std::int64_t maxDuration = context.OptionalInteger("maxDurationOfTrip").value_or(kNoLimitAbove);
  const std::int64_t minDifficulty = context.OptionalInteger("minDifficultyOfTrip").value_or(kNoLimitBelow);
  const std::int64_t maxDifficulty = context.OptionalInteger("maxDifficultyOfTrip").value_or(kNoLimitAbove);
  const auto maxFromMe = context.OptionalInteger("maxDistanceFromMe");
  const auto latitude = context.OptionalReal("currentLatitude");
  const auto longitude = context.OptionalReal("currentLongitude");
  if (maxFromMe && (!latitude || !longitude))
    throw ServiceError(error_type::kMissingParameter, "maxDistanceFromMe needs currentLatitude and currentLongitude");

  std::vector<Candidate> found =
      Candidates(context, caller,
                 "(name LIKE ? ESCAPE '\\' OR summary LIKE ? ESCAPE '\\') AND distance >= ? AND distance <= ? AND "
                 "duration >= ? AND duration <= ? AND difficulty >= ? AND difficulty <= ?",
                 LikePattern(query), LikePattern(query), minDistance, maxDistance, minDuration, maxDuration,
                 minDifficulty, maxDifficulty);
  const std::vector<std::string> wanted = SplitList(activities.value_or(""));
  std::erase_if(found, [&](const Candidate& candidate) {
    if (!wanted.empty()) {
      Statement trip = context.Db().Query("SELECT activity_type FROM trips WHERE id = ?", candidate.id);
      trip.Step();
      const std::string activity = trip.Text(0);
      if (std::none_of(wanted.begin(), wanted.end(),
                       [&](const std::string& w) { return EqualsIgnoringCase(w, activity); }))
        return true;
    }
    if (maxFromMe)
      return !candidate.located || DistanceMeters(*latitude, *longitude, candidate.latitude, candidate.longitude) >
                                       static_cast<double>(*maxFromMe);
    return false;
  });
  WriteResults(context, found, page);
}

void FindTripsInArea(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const double top = context.Real("ulLat"), left = context.Real("ulLon");
  const double bottom = context.Real("brLat"), right = context.Real("brLon");
  const Page page = ReadPage(context);
  if (top < bottom || left > right || top > 90 || bottom < -90 || left < -180 || right > 180)
    throw ServiceError(error_type::kParameterOutOfRange,
                       "The area runs from its upper left corner down and right, within the earth's coordinates");
  if (top - bottom > kMaxAreaDegrees || right - left > kMaxAreaDegrees)
    throw ServiceError(error_type::kSearchAreaTooLarge, "The area spans more than 10 degrees");
  std::vector<Candidate> found = Candidates(
      context, caller, "trailhead_lat BETWEEN ? AND ? AND trailhead_lon BETWEEN ? AND ?", bottom, top, left, right);
  WriteResults(context, found, page);
}

// Nearest first.
void FindTripsNearPoint(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const double latitude = context.Real("lat"), longitude = context.Real("lon");
  const double radius = context.Real("radius");
  const Page page = ReadPage(context);
  if (std::fabs(latitude) > 90 || std::fabs(longitude) > 180 || radius <= 0)
    throw ServiceError(error_type::kParameterOutOfRange, "The point is off the earth or the radius not positive");
  if (radius > kMaxRadiusMeters) throw ServiceError(error_type::kSearchAreaTooLarge, "The radius exceeds 500 km");
  std::vector<Candidate> found = Candidates(context, caller, "trailhead_lat IS NOT NULL");
  std::erase_if(found, [&](Candidate& candidate) {
    candidate.order = DistanceMeters(latitude, longitude, candidate.latitude, candidate.longitude);
    return candidate.order > radius;
  });
  WriteResults(context, found, page);
}

constexpr MethodEntry kMethods[] = {
    {"Search.FindTrips", FindTrips},
    {"Search.FindTripsInArea", FindTripsInArea},
    {"Search.FindTripsNearPoint", FindTripsNearPoint},
};

}  // namespace

std::span<const MethodEntry> SearchMethods() { return kMethods; }

}  // namespace velinst::service
