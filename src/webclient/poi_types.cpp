#include "webclient/poi_types.h"

namespace velinst {

namespace {

constexpr const char* kPointOfInterestTypes[kPointOfInterestTypeCount] = {"Unknown",
                                                                          "Camp",
                                                                          "FoodPlot",
                                                                          "WateringHole",
                                                                          "Stand",
                                                                          "Blind",
                                                                          "Trap",
                                                                          "TrailCamera",
                                                                          "Vehicle",
                                                                          "BoatRamp",
                                                                          "Dock",
                                                                          "Buoy",
                                                                          "FishingHotspot",
                                                                          "Channel",
                                                                          "Obstacle",
                                                                          "BloodTrail",
                                                                          "BloodTrailShot",
                                                                          "BloodTrailHit",
                                                                          "BloodTrailKill",
                                                                          "BloodTrailTrace",
                                                                          "BloodTrailModerate",
                                                                          "BloodTrailHeavy",
                                                                          "Trailhead",
                                                                          "TrophyPhoto"};

}  // namespace

const char* PointOfInterestTypeName(std::int32_t index) {
  if (index < 0 || index >= kPointOfInterestTypeCount) return "";
  return kPointOfInterestTypes[index];
}

}  // namespace velinst
