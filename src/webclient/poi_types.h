// The kinds of point of interest, sent by name.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace velinst {

// In the order of their indexes; the service knows them by these names.
inline constexpr std::array<std::string_view, 24> kPointOfInterestTypeNames = {"Unknown",
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

inline constexpr std::int32_t kPointOfInterestTypeCount = static_cast<std::int32_t>(kPointOfInterestTypeNames.size());

// The name of type `index`; empty for an index outside the table.
const char* PointOfInterestTypeName(std::int32_t index);

}  // namespace velinst
