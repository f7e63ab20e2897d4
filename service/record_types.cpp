#include "record_types.h"

namespace velinst::service {
namespace {

using enum FieldKind;

constexpr RecordField kAccountFields[] = {{"Id", "id", kInteger},
                                          {"Name", "name", kText},
                                          {"Address1", "address1", kText},
                                          {"Address2", "address2", kText},
                                          {"City", "city", kText},
                                          {"State", "state", kText},
                                          {"Zip", "zip", kText},
                                          {"ContactName", "contact_name", kText},
                                          {"ContactEmail", "contact_email", kText},
                                          {"ContactPhone", "contact_phone", kText}};

constexpr RecordField kAccountUserFields[] = {{"Id", "id", kInteger},
                                              {"FirstName", "first_name", kText},
                                              {"LastName", "last_name", kText},
                                              {"UserName", "user_name", kText},
                                              {"Email", "email", kText},
                                              {"Phone", "phone", kText},
                                              {"ReceiveNewsletter", "receive_newsletter", kBoolean},
                                              {"ReceiveUpdates", "receive_updates", kBoolean}};

constexpr RecordField kTeamFields[] = {{"Id", "id", kInteger}, {"Name", "name", kText}};

constexpr RecordField kTeamMemberFields[] = {{"UserId", "user_id", kInteger}, {"Role", "role", kText}};

constexpr RecordField kResellerFields[] = {
    {"Id", "id", kInteger},          {"Name", "name", kText},       {"Address1", "address1", kText},
    {"Address2", "address2", kText}, {"City", "city", kText},       {"State", "state", kText},
    {"Zip", "zip", kText},           {"Website", "website", kText}, {"Phone", "phone", kText},
    {"Fax", "fax", kText},           {"Lat", "lat", kReal},         {"Lon", "lon", kReal},
    {"Type", "type", kText}};

constexpr RecordField kResellerContactFields[] = {{"Id", "id", kInteger},
                                                  {"Name", "name", kText},
                                                  {"Phone", "phone", kText},
                                                  {"Email", "email", kText},
                                                  {"Type", "type", kText}};

constexpr RecordField kLiveTrackingPositionFields[] = {{"Lat", "lat", kReal},
                                                       {"Lon", "lon", kReal},
                                                       {"Ele", "ele", kReal},
                                                       {"DeviceTimeUtc", "device_time_utc", kText},
                                                       {"Message", "message", kText},
                                                       {"MessageType", "message_type", kText},
                                                       {"Properties", "properties", kText}};

constexpr RecordField kSetPasswordRequestFields[] = {{"Password", "password_hash", kText}};

}  // namespace

const RecordType kAccountRecord{"Account", "accounts", kAccountFields};
const RecordType kAccountUserRecord{"AccountUser", "users", kAccountUserFields};
const RecordType kTeamRecord{"Team", "teams", kTeamFields};
const RecordType kTeamMemberRecord{"TeamMember", "team_members", kTeamMemberFields};
const RecordType kResellerRecord{"Reseller", "resellers", kResellerFields};
const RecordType kResellerContactRecord{"ResellerContact", "reseller_contacts", kResellerContactFields};
const RecordType kLiveTrackingPositionRecord{"LiveTrackingPosition", "live_positions", kLiveTrackingPositionFields};
const RecordType kSetPasswordRequestRecord{"SetPasswordRequest", "", kSetPasswordRequestFields};

}  // namespace velinst::service
