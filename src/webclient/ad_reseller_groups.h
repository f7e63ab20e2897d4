// The administrative method groups of resellers, their contacts, and
// temporary storage credentials.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "webclient/ad_class.h"
#include "webclient/ad_reseller_records.h"
#include "webclient/ad_value_records.h"

namespace velinst {

// Resellers are read without an auth token.
class CRKADResellersClass : public CRKADClass {
 public:
  CRKADResult<std::vector<Reseller>> Get();
  CRKADResult<Reseller> GetById(std::int32_t id);
  CRKADResult<Reseller> Add(const std::string& authToken, const Reseller& reseller);
  CRKADResult<Reseller> Update(const std::string& authToken, std::int32_t id, const Reseller& reseller);
  std::int32_t Remove(const std::string& authToken, std::int32_t id);
};

class CRKADResellerContactsClass : public CRKADClass {
 public:
  // Without an auth token.
  CRKADResult<std::vector<ResellerContact>> Get(std::int32_t resellerId);
  CRKADResult<ResellerContact> Add(const std::string& authToken, std::int32_t resellerId,
                                   const ResellerContact& contact);
  CRKADResult<ResellerContact> Update(const std::string& authToken, std::int32_t id, const ResellerContact& contact);
  std::int32_t Remove(const std::string& authToken, std::int32_t id);
};

class CRKADS3Class : public CRKADClass {
 public:
  CRKADResult<Credentials> GetTemporaryCredentials(const std::string& authToken);
};

}  // namespace velinst
