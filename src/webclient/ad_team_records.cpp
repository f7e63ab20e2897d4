#include "webclient/ad_team_records.h"

#include "webclient/ad_record_fields.h"

namespace velinst {

namespace {

constexpr CRKADField<Team> kTeamFields[] = {{"Id", &Team::Id}, {"Name", &Team::Name}};

constexpr CRKADField<TeamMember> kTeamMemberFields[] = {{"UserId", &TeamMember::UserId}, {"Role", &TeamMember::Role}};

constexpr CRKADField<TeamTripStats> kTeamTripStatsFields[] = {{"id", &TeamTripStats::id},
                                                              {"name", &TeamTripStats::name},
                                                              {"activitytype", &TeamTripStats::activitytype},
                                                              {"date", &TeamTripStats::date},
                                                              {"distance", &TeamTripStats::distance},
                                                              {"calories", &TeamTripStats::calories},
                                                              {"duration", &TeamTripStats::duration},
                                                              {"resting", &TeamTripStats::resting},
                                                              {"unaccounted", &TeamTripStats::unaccounted},
                                                              {"summary", &TeamTripStats::summary},
                                                              {"elegain", &TeamTripStats::elegain},
                                                              {"eleloss", &TeamTripStats::eleloss},
                                                              {"trailhead", &TeamTripStats::trailhead},
                                                              {"UserID", &TeamTripStats::UserID},
                                                              {"animalType", &TeamTripStats::animalType}};

constexpr CRKADField<LiveTrackingPosition> kLiveTrackingPositionFields[] = {
    {"Lat", &LiveTrackingPosition::Lat},
    {"Lon", &LiveTrackingPosition::Lon},
    {"Ele", &LiveTrackingPosition::Ele},
    {"DeviceTimeUtc", &LiveTrackingPosition::DeviceTimeUtc},
    {"Message", &LiveTrackingPosition::Message},
    {"MessageType", &LiveTrackingPosition::MessageType},
    {"Properties", &LiveTrackingPosition::Properties}};

}  // namespace

bool Team::SetField(std::string_view name, std::string_view value) {
  return SetRecordField<Team>(*this, kTeamFields, name, value);
}

std::string Team::ToXml() const { return RecordDocument<Team>(*this, kTeamFields, {"Team", "  ", true}); }

bool TeamMember::SetField(std::string_view name, std::string_view value) {
  return SetRecordField<TeamMember>(*this, kTeamMemberFields, name, value);
}

std::string TeamMember::ToXml() const {
  return RecordDocument<TeamMember>(*this, kTeamMemberFields, {"TeamMember", "  ", false});
}

bool TeamTripStats::SetField(std::string_view name, std::string_view value) {
  return SetRecordField<TeamTripStats>(*this, kTeamTripStatsFields, name, value);
}

bool LiveTrackingPosition::SetField(std::string_view name, std::string_view value) {
  return SetRecordField<LiveTrackingPosition>(*this, kLiveTrackingPositionFields, name, value);
}

std::string LiveTrackingPosition::ToXml() const {
  return RecordDocument<LiveTrackingPosition>(*this, kLiveTrackingPositionFields,
                                              {"LiveTrackingPosition", "  ", false});
}

}  // namespace velinst
