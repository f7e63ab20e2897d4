#include "webclient/search_class.h"

#include <utility>

#include "webclient/trip_parsers.h"

namespace velinst {

CRKResult<std::vector<TripStats>> CRKSearchClass::Find(const char* method, CRKParameterList parameters,
                                                       std::int32_t* total) {
  CRKTrips parser;
  const std::int32_t code = Send(method, std::move(parameters), &parser, kRKPlain);
  if (total != nullptr) *total = parser.Total();
  return {code, parser.Trips()};
}

CRKResult<std::vector<TripStats>> CRKSearchClass::FindTrips(const std::string& authToken, const std::string& query,
                                                            std::int32_t pageSize, std::int32_t offset,
                                                            const std::vector<std::string>& activities,
                                                            const CRKTripSearchFilters& filters, std::int32_t* total) {
  CRKParameterList parameters = {{"authToken", authToken},
                                 UrlEncodedParameter("query", query),
                                 {"pageSize", DecimalText(pageSize)},
                                 {"offset", DecimalText(offset)}};
  if (std::string joined = JoinedTexts(activities); !joined.empty())
    parameters.push_back({"activities", std::move(joined)});
  AddOptional(parameters, "minDistanceOfTrip", filters.minDistanceOfTrip);
  AddOptional(parameters, "maxDistanceOfTrip", filters.maxDistanceOfTrip);
  AddOptional(parameters, "minDurationOfTrip", filters.minDurationOfTrip);
  AddOptional(parameters, "maxDurationOfTrip", filters.maxDurationOfTrip);
  AddOptional(parameters, "minDifficultyOfTrip", filters.minDifficultyOfTrip);
  AddOptional(parameters, "maxDifficultyOfTrip", filters.maxDifficultyOfTrip);
  AddOptional(parameters, "maxDistanceFromMe", filters.maxDistanceFromMe);
  AddOptional(parameters, "currentLatitude", filters.currentLatitude);
  AddOptional(parameters, "currentLongitude", filters.currentLongitude);
  return Find("Search.FindTrips", std::move(parameters), total);
}

CRKResult<std::vector<TripStats>> CRKSearchClass::FindTripsInArea(const std::string& authToken, double ulLat,
                                                                  double ulLon, double brLat, double brLon,
                                                                  std::int32_t pageSize, std::int32_t offset,
                                                                  std::int32_t* total) {
  return Find("Search.FindTripsInArea",
              {{"authToken", authToken},
               {"ulLat", FixedText(ulLat)},
               {"ulLon", FixedText(ulLon)},
               {"brLat", FixedText(brLat)},
               {"brLon", FixedText(brLon)},
               {"pageSize", DecimalText(pageSize)},
               {"offset", DecimalText(offset)}},
              total);
}

CRKResult<std::vector<TripStats>> CRKSearchClass::FindTripsNearPoint(const std::string& authToken, double lat,
                                                                     double lon, double radius, std::int32_t pageSize,
                                                                     std::int32_t offset, std::int32_t* total) {
  return Find("Search.FindTripsNearPoint",
              {{"authToken", authToken},
               {"lat", FixedText(lat)},
               {"lon", FixedText(lon)},
               {"radius", FixedText(radius)},
               {"pageSize", DecimalText(pageSize)},
               {"offset", DecimalText(offset)}},
              total);
}

}  // namespace velinst
