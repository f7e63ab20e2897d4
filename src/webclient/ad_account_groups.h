// The administrative method groups of accounts, their users, and the
// users' roles and privileges.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "webclient/ad_account_records.h"
#include "webclient/ad_class.h"
#include "webclient/ad_value_records.h"

namespace velinst {

class CRKADAccountsClass : public CRKADClass {
 public:
  CRKADResult<std::vector<Account>> Get(const std::string& authToken);
  CRKADResult<Account> GetById(const std::string& authToken, std::int32_t id);
  CRKADResult<Account> GetByProductId(const std::string& authToken, const std::string& productId);
  CRKADResult<Account> Find(const std::string& authToken);
  CRKADResult<Account> Add(const std::string& authToken, const Account& account);
  CRKADResult<Account> Create(const std::string& authToken, std::int32_t users, const std::string& productId,
                              const std::string& sku, const Account& account);
  CRKADResult<Account> Update(const std::string& authToken, std::int32_t id, const Account& account);
  // The answer carries the removed account.
  CRKADResult<Account> Remove(const std::string& authToken, std::int32_t id);
};

class CRKADAccountUsersClass : public CRKADClass {
 public:
  CRKADResult<std::vector<AccountUser>> Get(const std::string& authToken, std::int32_t accountId);
  CRKADResult<std::vector<AccountUser>> GetByTeamId(const std::string& authToken, std::int32_t teamId);
  CRKADResult<AccountUser> GetById(const std::string& authToken, std::int32_t id);
  CRKADResult<AccountUser> Add(const std::string& authToken, std::int32_t accountId, const AccountUser& user);
  std::int32_t Transfer(const std::string& authToken, std::int32_t userId, std::int32_t accountId);
  CRKADResult<AccountUser> Update(const std::string& authToken, std::int32_t id, const AccountUser& user);
  std::int32_t Remove(const std::string& authToken, std::int32_t id);
  std::int32_t SetPassword(const std::string& authToken, std::int32_t userId, const SetPasswordRequest& request);
};

class CRKADRolesClass : public CRKADClass {
 public:
  CRKADResult<std::vector<String>> Get(const std::string& authToken, std::int32_t userId);
  std::int32_t Add(const std::string& authToken, std::int32_t userId, const std::string& role);
  std::int32_t Remove(const std::string& authToken, std::int32_t userId, const std::string& role);
};

class CRKADPrivilegesClass : public CRKADClass {
 public:
  CRKADResult<std::vector<String>> Get(const std::string& authToken, std::int32_t userId);
  // Posts a document of one line feed.
  std::int32_t Add(const std::string& authToken, std::int32_t userId, const std::string& privilege);
  std::int32_t Remove(const std::string& authToken, std::int32_t userId, const std::string& privilege);
};

}  // namespace velinst
