// The administrative method groups of teams: the teams and their members,
// authorised features, live tracking, and team and private trips.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "webclient/ad_class.h"
#include "webclient/ad_team_records.h"
#include "webclient/ad_value_records.h"

namespace velinst {

class CRKADTeamsClass : public CRKADClass {
 public:
  CRKADResult<std::vector<Team>> Get(const std::string& authToken, std::int32_t accountId);
  CRKADResult<Team> GetById(const std::string& authToken, std::int32_t id);
  CRKADResult<std::vector<Team>> Find(const std::string& authToken);
  CRKADResult<Team> Add(const std::string& authToken, std::int32_t accountId, const Team& team);
  CRKADResult<Team> Update(const std::string& authToken, std::int32_t id, const Team& team);
  std::int32_t Remove(const std::string& authToken, std::int32_t id);
};

class CRKADTeamMembersClass : public CRKADClass {
 public:
  CRKADResult<std::vector<TeamMember>> Get(const std::string& authToken, std::int32_t teamId);
  CRKADResult<TeamMember> Add(const std::string& authToken, std::int32_t teamId, const TeamMember& member);
  CRKADResult<TeamMember> Update(const std::string& authToken, std::int32_t userId, const TeamMember& member);
  std::int32_t Remove(const std::string& authToken, std::int32_t teamId, std::int32_t userId);
};

class CRKADAuthorizationClass : public CRKADClass {
 public:
  CRKADResult<std::vector<Feature>> GetFeatures(const std::string& authToken, std::int32_t accountId,
                                                const std::string& component);
};

class CRKADLiveTrackingClass : public CRKADClass {
 public:
  // The markup of the team's or the users' tracks. Without a team and
  // without a user list it sends nothing and returns 33; the user ids go
  // out as one "userId" parameter, separated by commas.
  CRKADResult<std::string> Get(const std::string& authToken, std::optional<std::int32_t> teamId,
                               const std::optional<std::vector<std::int32_t>>& userIds);
  std::int32_t Update(const std::string& authToken, const LiveTrackingPosition& position);
};

class CRKADTeamTripsClass : public CRKADClass {
 public:
  CRKADResult<std::vector<TeamTripStats>> Get(const std::string& authToken, std::int32_t teamId);
  CRKADResult<std::vector<IDPair>> GetTripListIDsAndRevisionNumber(const std::string& authToken, std::int32_t teamId);
  // Posts a document of one line feed.
  std::int32_t Add(const std::string& authToken, std::int32_t teamId, std::int32_t tripId);
  std::int32_t Remove(const std::string& authToken, std::int32_t teamId, std::int32_t tripId);
};

class CRKADPrivateTripsClass : public CRKADClass {
 public:
  CRKADResult<std::vector<TeamTripStats>> Get(const std::string& authToken, std::int32_t userId);
};

}  // namespace velinst
