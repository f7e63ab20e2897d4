#include "webclient/ad_team_groups.h"

namespace velinst {

namespace {

// Part of the server's error table: a parameter error.
constexpr std::int32_t kRKParameterError = 33;

}  // namespace

CRKADResult<std::vector<Team>> CRKADTeamsClass::Get(const std::string& authToken, std::int32_t accountId) {
  return CallList<Team>("Teams.Get", {Token(authToken), Number("accountId", accountId)});
}

CRKADResult<Team> CRKADTeamsClass::GetById(const std::string& authToken, std::int32_t id) {
  return CallRecord<Team>("Teams.GetById", {Token(authToken), Number("id", id)});
}

CRKADResult<std::vector<Team>> CRKADTeamsClass::Find(const std::string& authToken) {
  return CallList<Team>("Teams.Find", {Token(authToken)});
}

CRKADResult<Team> CRKADTeamsClass::Add(const std::string& authToken, std::int32_t accountId, const Team& team) {
  const std::string body = team.ToXml();
  return CallRecord<Team>("Teams.Add", {Token(authToken), Number("accountId", accountId)}, &body);
}

CRKADResult<Team> CRKADTeamsClass::Update(const std::string& authToken, std::int32_t id, const Team& team) {
  const std::string body = team.ToXml();
  return CallRecord<Team>("Teams.Update", {Token(authToken), Number("id", id)}, &body);
}

std::int32_t CRKADTeamsClass::Remove(const std::string& authToken, std::int32_t id) {
  return Call("Teams.Remove", {Token(authToken), Number("id", id)});
}

CRKADResult<std::vector<TeamMember>> CRKADTeamMembersClass::Get(const std::string& authToken, std::int32_t teamId) {
  return CallList<TeamMember>("TeamMembers.Get", {Token(authToken), Number("teamId", teamId)});
}

CRKADResult<TeamMember> CRKADTeamMembersClass::Add(const std::string& authToken, std::int32_t teamId,
                                                   const TeamMember& member) {
  const std::string body = member.ToXml();
  return CallRecord<TeamMember>("TeamMembers.Add", {Token(authToken), Number("teamId", teamId)}, &body);
}

CRKADResult<TeamMember> CRKADTeamMembersClass::Update(const std::string& authToken, std::int32_t userId,
                                                      const TeamMember& member) {
  const std::string body = member.ToXml();
  return CallRecord<TeamMember>("TeamMembers.Update", {Token(authToken), Number("userId", userId)}, &body);
}

std::int32_t CRKADTeamMembersClass::Remove(const std::string& authToken, std::int32_t teamId, std::int32_t userId) {
  return Call("TeamMembers.Remove", {Token(authToken), Number("teamId", teamId), Number("userId", userId)});
}

CRKADResult<std::vector<Feature>> CRKADAuthorizationClass::GetFeatures(const std::string& authToken,
                                                                       std::int32_t accountId,
                                                                       const std::string& component) {
  return CallList<Feature>("Authz.GetFeatures",
                           {Token(authToken), Number("accountId", accountId), {"component", component}});
}

CRKADResult<std::string> CRKADLiveTrackingClass::Get(const std::string& authToken, std::optional<std::int32_t> teamId,
                                                     const std::optional<std::vector<std::int32_t>>& userIds) {
  if (!teamId.has_value() && !userIds.has_value()) return {kRKParameterError, std::string()};
  CRKParameterList parameters = {Token(authToken)};
  if (teamId.has_value()) parameters.push_back(Number("teamId", *teamId));
  if (userIds.has_value()) {
    std::string ids;
    for (const std::int32_t id : *userIds) ids.append(ids.empty() ? "" : ",").append(DecimalText(id));
    parameters.push_back({"userId", ids});
  }
  CRKADGPXHack parser;
  const std::int32_t code = CallParsed("LiveTracking.Get", std::move(parameters), nullptr, &parser);
  return {code, parser.Markup()};
}

std::int32_t CRKADLiveTrackingClass::Update(const std::string& authToken, const LiveTrackingPosition& position) {
  const std::string body = position.ToXml();
  return Call("LiveTracking.Update", {Token(authToken)}, &body);
}

CRKADResult<std::vector<TeamTripStats>> CRKADTeamTripsClass::Get(const std::string& authToken, std::int32_t teamId) {
  return CallList<TeamTripStats>("TeamTrips.Get", {Token(authToken), Number("teamId", teamId)});
}

CRKADResult<std::vector<IDPair>> CRKADTeamTripsClass::GetTripListIDsAndRevisionNumber(const std::string& authToken,
                                                                                      std::int32_t teamId) {
  return CallList<IDPair>("TeamTrips.GetTripListIDsAndRevisionNumber", {Token(authToken), Number("teamId", teamId)});
}

std::int32_t CRKADTeamTripsClass::Add(const std::string& authToken, std::int32_t teamId, std::int32_t tripId) {
  return Call("TeamTrips.Add", {Token(authToken), Number("teamId", teamId), Number("tripId", tripId)},
              &kRKADLineFeedBody);
}

std::int32_t CRKADTeamTripsClass::Remove(const std::string& authToken, std::int32_t teamId, std::int32_t tripId) {
  return Call("TeamTrips.Remove", {Token(authToken), Number("teamId", teamId), Number("tripId", tripId)});
}

CRKADResult<std::vector<TeamTripStats>> CRKADPrivateTripsClass::Get(const std::string& authToken, std::int32_t userId) {
  return CallList<TeamTripStats>("PrivateTrips.Get", {Token(authToken), Number("userId", userId)});
}

}  // namespace velinst
