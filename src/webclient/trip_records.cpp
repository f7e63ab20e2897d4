#include "webclient/trip_records.h"

#include "webclient/ad_record_fields.h"

namespace velinst {

namespace {

constexpr CRKADField<TripStats> kTripStatsFields[] = {{"id", &TripStats::id},
                                                      {"name", &TripStats::name},
                                                      {"activityType", &TripStats::activityType},
                                                      {"date", &TripStats::date},
                                                      {"distance", &TripStats::distance},
                                                      {"calories", &TripStats::calories},
                                                      {"duration", &TripStats::duration},
                                                      {"resting", &TripStats::resting},
                                                      {"unaccounted", &TripStats::unaccounted},
                                                      {"summary", &TripStats::summary},
                                                      {"eleGain", &TripStats::eleGain},
                                                      {"eleLoss", &TripStats::eleLoss},
                                                      {"trailhead", &TripStats::trailhead},
                                                      {"userID", &TripStats::userID}};

constexpr CRKADField<TripInfo> kTripInfoFields[] = {{"id", &TripInfo::id},
                                                    {"name", &TripInfo::name},
                                                    {"date", &TripInfo::date},
                                                    {"distance", &TripInfo::distance},
                                                    {"calories", &TripInfo::calories},
                                                    {"duration", &TripInfo::duration},
                                                    {"resting", &TripInfo::resting},
                                                    {"unaccounted", &TripInfo::unaccounted},
                                                    {"summary", &TripInfo::summary},
                                                    {"eleGain", &TripInfo::eleGain},
                                                    {"eleLoss", &TripInfo::eleLoss},
                                                    {"trailhead", &TripInfo::trailhead},
                                                    {"userID", &TripInfo::userID},
                                                    {"poiCount", &TripInfo::poiCount},
                                                    {"trackCount", &TripInfo::trackCount},
                                                    {"mediaCount", &TripInfo::mediaCount},
                                                    {"routeCount", &TripInfo::routeCount},
                                                    {"totalPointCount", &TripInfo::totalPointCount}};

}  // namespace

bool TripStats::SetField(std::string_view name, std::string_view value) {
  return SetRecordField<TripStats>(*this, kTripStatsFields, name, value);
}

bool TripInfo::SetField(std::string_view name, std::string_view value) {
  return SetRecordField<TripInfo>(*this, kTripInfoFields, name, value);
}

}  // namespace velinst
