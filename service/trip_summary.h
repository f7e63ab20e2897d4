// What the service reads out of a saved trip document (GPX): its name and
// texts, and the figures of its tracks. Elements are matched by local name,
// so any namespace (or none) will do; a document without tracks simply has
// no figures.
#pragma once

#include <libxml/tree.h>

#include <cstdint>
#include <optional>
#include <string>

namespace velinst::service {

struct TripSummary {
  // Texts in the stored (escaped) form.
  std::string name;
  std::string activityType;
  std::string animalType;
  std::string summary;
  std::string date;  // first time stamp of the trip, as the service writes them
  double distanceMeters = 0;
  double elevationGain = 0;
  double elevationLoss = 0;
  std::int64_t durationSeconds = 0;     // first to last time stamp
  std::int64_t restingSeconds = 0;      // between points moving slower than a stroll
  std::int64_t unaccountedSeconds = 0;  // between one segment's end and the next's start
  std::optional<double> trailheadLatitude;
  std::optional<double> trailheadLongitude;
  int trackCount = 0;
  int routeCount = 0;
  int waypointCount = 0;
  int pointCount = 0;  // track, route and waypoints together
};

TripSummary SummarizeTrip(const xmlDoc* document);

// 1 (easy) to 5, from length and climb.
int TripDifficulty(const TripSummary& summary);
// Energy for a body weight (kilograms; 0 counts as 70) over the trip.
std::int64_t TripCalories(const TripSummary& summary, double weightKilograms);

}  // namespace velinst::service
