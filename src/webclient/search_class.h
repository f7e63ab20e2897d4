// The "Search" method group: trips found by text and filters, inside an
// area or near a point, a page at a time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "webclient/result_code.h"
#include "webclient/rk_class.h"
#include "webclient/trip_records.h"

namespace velinst {

// The filters of FindTrips, each sent only when given.
struct CRKTripSearchFilters {
  std::optional<std::int32_t> minDistanceOfTrip;
  std::optional<std::int32_t> maxDistanceOfTrip;
  std::optional<std::int32_t> minDurationOfTrip;
  std::optional<std::int32_t> maxDurationOfTrip;
  std::optional<std::int32_t> minDifficultyOfTrip;
  std::optional<std::int32_t> maxDifficultyOfTrip;
  std::optional<std::int32_t> maxDistanceFromMe;
  std::optional<double> currentLatitude;
  std::optional<double> currentLongitude;
};

// Each search returns the page of trips; `total` (may be null) receives
// the number of trips found in all, whatever the code.
class CRKSearchClass : public CRKClass {
 public:
  // The activities go out comma-joined, unless that joined text is empty.
  CRKResult<std::vector<TripStats>> FindTrips(const std::string& authToken, const std::string& query,
                                              std::int32_t pageSize, std::int32_t offset,
                                              const std::vector<std::string>& activities,
                                              const CRKTripSearchFilters& filters, std::int32_t* total);
  // The area from its upper left to its bottom right corner.
  CRKResult<std::vector<TripStats>> FindTripsInArea(const std::string& authToken, double ulLat, double ulLon,
                                                    double brLat, double brLon, std::int32_t pageSize,
                                                    std::int32_t offset, std::int32_t* total);
  CRKResult<std::vector<TripStats>> FindTripsNearPoint(const std::string& authToken, double lat, double lon,
                                                       double radius, std::int32_t pageSize, std::int32_t offset,
                                                       std::int32_t* total);

 private:
  CRKResult<std::vector<TripStats>> Find(const char* method, CRKParameterList parameters, std::int32_t* total);
};

}  // namespace velinst
