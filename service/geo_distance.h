// Great-circle distance on a spherical earth, for trip lengths and searches.
#pragma once

namespace velinst::service {

inline constexpr double kEarthRadiusMeters = 6371008.8;

double DistanceMeters(double latitude1, double longitude1, double latitude2, double longitude2);

}  // namespace velinst::service
