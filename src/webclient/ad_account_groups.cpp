#include "webclient/ad_account_groups.h"

namespace velinst {

CRKADResult<std::vector<Account>> CRKADAccountsClass::Get(const std::string& authToken) {
  return CallList<Account>("Accounts.Get", {Token(authToken)});
}

CRKADResult<Account> CRKADAccountsClass::GetById(const std::string& authToken, std::int32_t id) {
  return CallRecord<Account>("Accounts.GetById", {Token(authToken), Number("id", id)});
}

CRKADResult<Account> CRKADAccountsClass::GetByProductId(const std::string& authToken, const std::string& productId) {
  return CallRecord<Account>("Accounts.GetByProductId", {Token(authToken), {"productId", productId}});
}

CRKADResult<Account> CRKADAccountsClass::Find(const std::string& authToken) {
  return CallRecord<Account>("Accounts.Find", {Token(authToken)});
}

CRKADResult<Account> CRKADAccountsClass::Add(const std::string& authToken, const Account& account) {
  const std::string body = account.ToXml();
  return CallRecord<Account>("Accounts.Add", {Token(authToken)}, &body);
}

CRKADResult<Account> CRKADAccountsClass::Create(const std::string& authToken, std::int32_t users,
                                                const std::string& productId, const std::string& sku,
                                                const Account& account) {
  const std::string body = account.ToXml();
  return CallRecord<Account>("Accounts.Create",
                             {Token(authToken), Number("users", users), {"productId", productId}, {"sku", sku}}, &body);
}

CRKADResult<Account> CRKADAccountsClass::Update(const std::string& authToken, std::int32_t id, const Account& account) {
  const std::string body = account.ToXml();
  return CallRecord<Account>("Accounts.Update", {Token(authToken), Number("id", id)}, &body);
}

CRKADResult<Account> CRKADAccountsClass::Remove(const std::string& authToken, std::int32_t id) {
  return CallRecord<Account>("Accounts.Remove", {Token(authToken), Number("id", id)});
}

CRKADResult<std::vector<AccountUser>> CRKADAccountUsersClass::Get(const std::string& authToken,
                                                                  std::int32_t accountId) {
  return CallList<AccountUser>("AccountUsers.Get", {Token(authToken), Number("accountId", accountId)});
}

CRKADResult<std::vector<AccountUser>> CRKADAccountUsersClass::GetByTeamId(const std::string& authToken,
                                                                          std::int32_t teamId) {
  return CallList<AccountUser>("AccountUsers.GetByTeamId", {Token(authToken), Number("teamId", teamId)});
}

CRKADResult<AccountUser> CRKADAccountUsersClass::GetById(const std::string& authToken, std::int32_t id) {
  return CallRecord<AccountUser>("AccountUsers.GetById", {Token(authToken), Number("id", id)});
}

CRKADResult<AccountUser> CRKADAccountUsersClass::Add(const std::string& authToken, std::int32_t accountId,
                                                     const AccountUser& user) {
  const std::string body = user.ToXml();
  return CallRecord<AccountUser>("AccountUsers.Add", {Token(authToken), Number("accountId", accountId)}, &body);
}

std::int32_t CRKADAccountUsersClass::Transfer(const std::string& authToken, std::int32_t userId,
                                              std::int32_t accountId) {
  return Call("AccountUsers.Transfer", {Token(authToken), Number("userId", userId), Number("accountId", accountId)});
}

CRKADResult<AccountUser> CRKADAccountUsersClass::Update(const std::string& authToken, std::int32_t id,
                                                        const AccountUser& user) {
  const std::string body = user.ToXml();
  return CallRecord<AccountUser>("AccountUsers.Update", {Token(authToken), Number("id", id)}, &body);
}

std::int32_t CRKADAccountUsersClass::Remove(const std::string& authToken, std::int32_t id) {
  return Call("AccountUsers.Remove", {Token(authToken), Number("id", id)});
}

std::int32_t CRKADAccountUsersClass::SetPassword(const std::string& authToken, std::int32_t userId,
                                                 const SetPasswordRequest& request) {
  const std::string body = request.ToXml();
  return Call("AccountUsers.SetPassword", {Token(authToken), Number("userId", userId)}, &body);
}

CRKADResult<std::vector<String>> CRKADRolesClass::Get(const std::string& authToken, std::int32_t userId) {
  return CallList<String>("Roles.Get", {Token(authToken), Number("userId", userId)});
}

std::int32_t CRKADRolesClass::Add(const std::string& authToken, std::int32_t userId, const std::string& role) {
  return Call("Roles.Add", {Token(authToken), Number("userId", userId), {"role", role}});
}

std::int32_t CRKADRolesClass::Remove(const std::string& authToken, std::int32_t userId, const std::string& role) {
  return Call("Roles.Remove", {Token(authToken), Number("userId", userId), {"role", role}});
}

CRKADResult<std::vector<String>> CRKADPrivilegesClass::Get(const std::string& authToken, std::int32_t userId) {
  return CallList<String>("Privileges.Get", {Token(authToken), Number("userId", userId)});
}

std::int32_t CRKADPrivilegesClass::Add(const std::string& authToken, std::int32_t userId,
                                       const std::string& privilege) {
  return Call("Privileges.Add", {Token(authToken), Number("userId", userId), {"privilege", privilege}},
              &kRKADLineFeedBody);
}

std::int32_t CRKADPrivilegesClass::Remove(const std::string& authToken, std::int32_t userId,
                                          const std::string& privilege) {
  return Call("Privileges.Remove", {Token(authToken), Number("userId", userId), {"privilege", privilege}});
}

}  // namespace velinst
