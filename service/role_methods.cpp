// The "Roles" and "Privileges" groups (named grants of a user) and "Authz",
// which answers the features an account has in one component.
//
// A privilege "<component>.<feature>" or "<component>.<feature>=<value>"
// held by a user of an account gives that account the feature.
#include <map>

#include "method_table.h"
#include "service_error.h"
#include "text_form.h"

namespace velinst::service {
namespace {

constexpr std::size_t kMaxGrantLength = 128;

struct GrantTable {
  const char* wrapper;
  const char* parameter;
  const char* selectSql;
  const char* insertSql;
  const char* deleteSql;
};

constexpr GrantTable kRoles{"Roles", "role", "SELECT role FROM roles WHERE user_id = ? ORDER BY role",
                            "INSERT OR IGNORE INTO roles (user_id, role) VALUES (?, ?)",
                            "DELETE FROM roles WHERE user_id = ? AND role = ?"};
constexpr GrantTable kPrivileges{"Privileges", "privilege",
                                 "SELECT privilege FROM privileges WHERE user_id = ? ORDER BY privilege",
                                 "INSERT OR IGNORE INTO privileges (user_id, privilege) VALUES (?, ?)",
                                 "DELETE FROM privileges WHERE user_id = ? AND privilege = ?"};

void GetGrants(MethodContext& context, const GrantTable& table) {
  const Caller caller = context.Authenticate();
  const std::int64_t userId = context.Integer("userId");
  RequireSelfOrAdminOverUser(context.Db(), caller, userId);
  context.Answer().Open(table.wrapper);
  for (Statement rows = context.Db().Query(table.selectSql, userId); rows.Step();)
    context.Answer().Element("string", rows.Text(0));
  context.Answer().Close();
}

std::string GrantName(const MethodContext& context, const GrantTable& table) {
  const std::string name = context.Text(table.parameter, kMaxGrantLength);
  if (name.empty()) throw ServiceError(error_type::kParameter, std::string("The ") + table.parameter + " is empty");
  return name;
}

void ChangeGrant(MethodContext& context, const GrantTable& table, const char* sql) {
  const Caller caller = context.Authenticate();
  const std::int64_t userId = context.Integer("userId");
  const std::string name = GrantName(context, table);
  RequireAdminOverUser(context.Db(), caller, userId);
  context.Db().Run(sql, userId, name);
}

void GetRoles(MethodContext& context) { GetGrants(context, kRoles); }
void AddRole(MethodContext& context) { ChangeGrant(context, kRoles, kRoles.insertSql); }
void RemoveRole(MethodContext& context) { ChangeGrant(context, kRoles, kRoles.deleteSql); }
void GetPrivileges(MethodContext& context) { GetGrants(context, kPrivileges); }
void AddPrivilege(MethodContext& context) { ChangeGrant(context, kPrivileges, kPrivileges.insertSql); }
void RemovePrivilege(MethodContext& context) { ChangeGrant(context, kPrivileges, kPrivileges.deleteSql); }

void WriteFeature(AnswerWriter& answer, std::string_view name, std::string_view value) {
  answer.Open("Feature");
  answer.Element("Name", name);
  answer.Element("Value", value);
  answer.Close();
}

void GetFeatures(MethodContext& context) {
  const Caller caller = context.AuthenticateUser();
  const std::int64_t accountId = context.Integer("accountId");
  const std::string component = context.Text("component");
  if (component.empty()) throw ServiceError(error_type::kMissingParameter, "The component is empty");
  if (caller.accountId != accountId) RequireAdminOverAccount(context.Db(), caller, accountId);
  RequireAccount(context.Db(), accountId);

  // Sorted by feature name; the first grant of a name wins.
  std::map<std::string, std::string> features;
  Statement grants = context.Db().Query(
      "SELECT DISTINCT privilege FROM privileges JOIN users ON users.id = privileges.user_id "
      "WHERE users.account_id = ? ORDER BY privilege",
      accountId);
  while (grants.Step()) {
    const std::string grant = grants.Text(0);
    if (grant.size() <= component.size() + 1 || grant[component.size()] != '.' ||
        !EqualsIgnoringCase(std::string_view(grant).substr(0, component.size()), component))
      continue;
    const std::string feature = grant.substr(component.size() + 1);
    const std::size_t equals = feature.find('=');
    features.emplace(feature.substr(0, equals), equals == std::string::npos ? "true" : feature.substr(equals + 1));
  }

  AnswerWriter& answer = context.Answer();
  answer.Open("Features");
  Statement account = context.Db().Query("SELECT sku, seats FROM accounts WHERE id = ?", accountId);
  if (account.Step()) {
    WriteFeature(answer, "Subscription", account.Text(0));
    WriteFeature(answer, "Users", std::to_string(account.Integer(1)));
  }
  for (const auto& [name, value] : features) WriteFeature(answer, name, value);
  answer.Close();
}

constexpr MethodEntry kMethods[] = {
    {"Roles.Get", GetRoles},
    {"Roles.Add", AddRole},
    {"Roles.Remove", RemoveRole},
    {"Privileges.Get", GetPrivileges},
    {"Privileges.Add", AddPrivilege},
    {"Privileges.Remove", RemovePrivilege},
    {"Authz.GetFeatures", GetFeatures},
};

}  // namespace

std::span<const MethodEntry> RoleAndPrivilegeMethods() { return kMethods; }

}  // namespace velinst::service
