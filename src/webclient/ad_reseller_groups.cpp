#include "webclient/ad_reseller_groups.h"

namespace velinst {

CRKADResult<std::vector<Reseller>> CRKADResellersClass::Get() { return CallList<Reseller>("Resellers.Get", {}); }

CRKADResult<Reseller> CRKADResellersClass::GetById(std::int32_t id) {
  return CallRecord<Reseller>("Resellers.GetById", {Number("id", id)});
}

CRKADResult<Reseller> CRKADResellersClass::Add(const std::string& authToken, const Reseller& reseller) {
  const std::string body = reseller.ToXml();
  return CallRecord<Reseller>("Resellers.Add", {Token(authToken)}, &body);
}

CRKADResult<Reseller> CRKADResellersClass::Update(const std::string& authToken, std::int32_t id,
                                                  const Reseller& reseller) {
  const std::string body = reseller.ToXml();
  return CallRecord<Reseller>("Resellers.Update", {Token(authToken), Number("id", id)}, &body);
}

std::int32_t CRKADResellersClass::Remove(const std::string& authToken, std::int32_t id) {
  return Call("Resellers.Remove", {Token(authToken), Number("id", id)});
}

CRKADResult<std::vector<ResellerContact>> CRKADResellerContactsClass::Get(std::int32_t resellerId) {
  return CallList<ResellerContact>("ResellerContacts.Get", {Number("resellerId", resellerId)});
}

CRKADResult<ResellerContact> CRKADResellerContactsClass::Add(const std::string& authToken, std::int32_t resellerId,
                                                             const ResellerContact& contact) {
  const std::string body = contact.ToXml();
  return CallRecord<ResellerContact>("ResellerContacts.Add", {Token(authToken), Number("resellerId", resellerId)},
                                     &body);
}

CRKADResult<ResellerContact> CRKADResellerContactsClass::Update(const std::string& authToken, std::int32_t id,
                                                                const ResellerContact& contact) {
  const std::string body = contact.ToXml();
  return CallRecord<ResellerContact>("ResellerContacts.Update", {Token(authToken), Number("id", id)}, &body);
}

std::int32_t CRKADResellerContactsClass::Remove(const std::string& authToken, std::int32_t id) {
  return Call("ResellerContacts.Remove", {Token(authToken), Number("id", id)});
}

CRKADResult<Credentials> CRKADS3Class::GetTemporaryCredentials(const std::string& authToken) {
  return CallRecord<Credentials>("S3.GetTemporaryCredentials", {Token(authToken)});
}

}  // namespace velinst
