#include "geo_distance.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velinst::service {

double DistanceMeters(double latitude1, double longitude1, double latitude2, double longitude2) {
  constexpr double kRadians = std::numbers::pi / 180.0;
  const double phi1 = latitude1 * kRadians, phi2 = latitude2 * kRadians;
  const double dPhi = (latitude2 - latitude1) * kRadians, dLambda = (longitude2 - longitude1) * kRadians;
  const double a = std::sin(dPhi / 2) * std::sin(dPhi / 2) +
                   std::cos(phi1) * std::cos(phi2) * std::sin(dLambda / 2) * std::sin(dLambda / 2);
  return 2 * kEarthRadiusMeters * std::asin(std::sqrt(std::clamp(a, 0.0, 1.0)));
}

}  // namespace velinst::service
