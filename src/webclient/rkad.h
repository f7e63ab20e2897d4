// The client of the account web service with the administrative method
// groups beside the consumer ones.
#pragma once

#include <string_view>

#include "webclient/ad_account_groups.h"
#include "webclient/ad_reseller_groups.h"
#include "webclient/ad_team_groups.h"
#include "webclient/rk.h"

namespace velinst {

class CRKAD : public CRK {
 public:
  // Opens the process-wide session as CRK does.
  CRKAD(std::string_view host, std::string_view agent, bool secure) : CRK(host, agent, secure) {}

  CRKADAccountsClass& Accounts() { return accounts_; }
  CRKADAccountUsersClass& AccountUsers() { return accountUsers_; }
  CRKADRolesClass& Roles() { return roles_; }
  CRKADPrivilegesClass& Privileges() { return privileges_; }
  CRKADTeamsClass& Teams() { return teams_; }
  CRKADTeamMembersClass& TeamMembers() { return teamMembers_; }
  CRKADAuthorizationClass& Authorization() { return authorization_; }
  CRKADLiveTrackingClass& LiveTracking() { return liveTracking_; }
  CRKADTeamTripsClass& TeamTrips() { return teamTrips_; }
  CRKADPrivateTripsClass& PrivateTrips() { return privateTrips_; }
  CRKADResellersClass& Resellers() { return resellers_; }
  CRKADResellerContactsClass& ResellerContacts() { return resellerContacts_; }
  CRKADS3Class& S3() { return s3_; }

 private:
  CRKADAccountsClass accounts_;
  CRKADAccountUsersClass accountUsers_;
  CRKADRolesClass roles_;
  CRKADPrivilegesClass privileges_;
  CRKADTeamsClass teams_;
  CRKADTeamMembersClass teamMembers_;
  CRKADAuthorizationClass authorization_;
  CRKADLiveTrackingClass liveTracking_;
  CRKADTeamTripsClass teamTrips_;
  CRKADPrivateTripsClass privateTrips_;
  CRKADResellersClass resellers_;
  CRKADResellerContactsClass resellerContacts_;
  CRKADS3Class s3_;
};

}  // namespace velinst
