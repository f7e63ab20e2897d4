// The records of teams, their members and the trip statistics of a team
// or a user.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velinst {

struct Team {
  static const char* ElementName() { return "Team"; }
  bool SetField(std::string_view name, std::string_view value);
  // The id is commented out.
  std::string ToXml() const;
  bool operator==(const Team&) const = default;

  std::int32_t Id = 0;
  std::string Name;
};

struct TeamMember {
  static const char* ElementName() { return "TeamMember"; }
  bool SetField(std::string_view name, std::string_view value);
  std::string ToXml() const;
  bool operator==(const TeamMember&) const = default;

  std::int32_t UserId = 0;
  std::string Role;
};

// Read only; its element is called "TripStats".
struct TeamTripStats {
  static const char* ElementName() { return "TripStats"; }
  bool SetField(std::string_view name, std::string_view value);
  bool operator==(const TeamTripStats&) const = default;

  std::int32_t id = 0;
  std::string name;
  std::string activitytype;
  std::string date;
  std::string distance;
  std::string calories;
  std::string duration;
  std::string resting;
  std::string unaccounted;
  std::string summary;
  std::string elegain;
  std::string eleloss;
  std::string trailhead;
  std::int32_t UserID = 0;
  std::string animalType;
};

// Posted by LiveTracking.Update; never read from an answer.
struct LiveTrackingPosition {
  bool SetField(std::string_view name, std::string_view value);
  std::string ToXml() const;

  double Lat = 0.0;
  double Lon = 0.0;
  double Ele = 0.0;
  std::string DeviceTimeUtc;
  std::string Message;
  std::string MessageType;
  std::string Properties;
};

}  // namespace velinst
