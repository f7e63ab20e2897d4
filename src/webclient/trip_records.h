// The trip records of the Search and Trip answers, read from the
// attributes of one element.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velinst {

// A trip as lists and searches summarise it: every figure as the answer's
// text. A missing attribute leaves its field empty.
struct TripStats {
  static const char* ElementName() { return "TripStats"; }
  // False, changing nothing, when no field is called `name` (in any case).
  bool SetField(std::string_view name, std::string_view value);
  bool operator==(const TripStats&) const = default;

  std::string id;
  std::string name;
  std::string activityType;
  std::string date;
  std::string distance;
  std::string calories;
  std::string duration;
  std::string resting;
  std::string unaccounted;
  std::string summary;
  std::string eleGain;
  std::string eleLoss;
  std::string trailhead;
  std::string userID;
};

// One trip's details, its numbers read as the C library reads them (no
// digits give 0).
struct TripInfo {
  static const char* ElementName() { return "TripInfo"; }
  bool SetField(std::string_view name, std::string_view value);
  bool operator==(const TripInfo&) const = default;

  std::int32_t id = 0;
  std::string name;
  std::string date;
  double distance = 0.0;
  std::string calories;
  std::string duration;
  std::string resting;
  std::string unaccounted;
  std::string summary;
  double eleGain = 0.0;
  double eleLoss = 0.0;
  std::string trailhead;
  std::int32_t userID = 0;
  std::int32_t poiCount = 0;
  std::int32_t trackCount = 0;
  std::int32_t mediaCount = 0;
  std::int32_t routeCount = 0;
  std::int32_t totalPointCount = 0;
};

}  // namespace velinst
