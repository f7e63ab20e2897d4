// The "Resellers" and "ResellerContacts" groups: shops that sell the
// products, readable by anyone, kept by the service's administrators.
#include <cmath>

#include "account_rules.h"
#include "method_table.h"
#include "service_error.h"

namespace velinst::service {
namespace {

void RequireReseller(Database& database, std::int64_t id) {
  if (!database.Integer("SELECT 1 FROM resellers WHERE id = ?", id))
    throw ServiceError(error_type::kRecordNotFound, "No reseller has id " + std::to_string(id));
}

void RequireContact(Database& database, std::int64_t id) {
  if (!database.Integer("SELECT 1 FROM reseller_contacts WHERE id = ?", id))
    throw ServiceError(error_type::kRecordNotFound, "No reseller contact has id " + std::to_string(id));
}

PostedRecord PostedReseller(const MethodContext& context) {
  PostedRecord reseller = PostedRecord::Read(context.Body(), kResellerRecord);
  if (std::fabs(reseller.Real("Lat")) > 90 || std::fabs(reseller.Real("Lon")) > 180)
    throw ServiceError(error_type::kParameterOutOfRange, "The reseller's position is off the earth");
  CheckPhoneFormat(reseller.Text("Phone"));
  CheckPhoneFormat(reseller.Text("Fax"));
  return reseller;
}

PostedRecord PostedContact(const MethodContext& context) {
  PostedRecord contact = PostedRecord::Read(context.Body(), kResellerContactRecord);
  if (!contact.Text("Email").empty()) CheckEmailFormat(contact.Text("Email"));
  CheckPhoneFormat(contact.Text("Phone"));
  return contact;
}

void GetResellers(MethodContext& context) {
  context.Answer().Open("Resellers");
  WriteRecords(context.Db(), context.Answer(), kResellerRecord, "ORDER BY id");
  context.Answer().Close();
}

void GetReseller(MethodContext& context) {
  const std::int64_t id = context.Integer("id");
  RequireReseller(context.Db(), id);
  WriteRecords(context.Db(), context.Answer(), kResellerRecord, "WHERE id = ?", id);
}

void AddReseller(MethodContext& context) {
  RequireServiceAdmin(context.Authenticate());
  const std::int64_t id = InsertRecord(context.Db(), PostedReseller(context), {});
  WriteRecords(context.Db(), context.Answer(), kResellerRecord, "WHERE id = ?", id);
}

void UpdateReseller(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t id = context.Integer("id");
  RequireServiceAdmin(caller);
  RequireReseller(context.Db(), id);
  UpdateRecord(context.Db(), PostedReseller(context), "id", id);
  WriteRecords(context.Db(), context.Answer(), kResellerRecord, "WHERE id = ?", id);
}

void RemoveReseller(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t id = context.Integer("id");
  RequireServiceAdmin(caller);
  RequireReseller(context.Db(), id);
  context.Db().Run("DELETE FROM resellers WHERE id = ?", id);
}

void GetContacts(MethodContext& context) {
  const std::int64_t resellerId = context.Integer("resellerId");
  RequireReseller(context.Db(), resellerId);
  context.Answer().Open("ResellerContacts");
  WriteRecords(context.Db(), context.Answer(), kResellerContactRecord, "WHERE reseller_id = ? ORDER BY id", resellerId);
  context.Answer().Close();
}

void AddContact(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t resellerId = context.Integer("resellerId");
  RequireServiceAdmin(caller);
  RequireReseller(context.Db(), resellerId);
  const std::int64_t id = InsertRecord(context.Db(), PostedContact(context), {{"reseller_id", resellerId}});
  WriteRecords(context.Db(), context.Answer(), kResellerContactRecord, "WHERE id = ?", id);
}

void UpdateContact(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t id = context.Integer("id");
  RequireServiceAdmin(caller);
  RequireContact(context.Db(), id);
  UpdateRecord(context.Db(), PostedContact(context), "id", id);
  WriteRecords(context.Db(), context.Answer(), kResellerContactRecord, "WHERE id = ?", id);
}

void RemoveContact(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t id = context.Integer("id");
  RequireServiceAdmin(caller);
  RequireContact(context.Db(), id);
  context.Db().Run("DELETE FROM reseller_contacts WHERE id = ?", id);
}

constexpr MethodEntry kMethods[] = {
    {"Resellers.Get", GetResellers},
    {"Resellers.GetById", GetReseller},
    {"Resellers.Add", AddReseller},
    {"Resellers.Update", UpdateReseller},
    {"Resellers.Remove", RemoveReseller},
    {"ResellerContacts.Get", GetContacts},
    {"ResellerContacts.Add", AddContact},
    {"ResellerContacts.Update", UpdateContact},
    {"ResellerContacts.Remove", RemoveContact},
};

}  // namespace

std::span<const MethodEntry> ResellerMethods() { return kMethods; }

}  // namespace velinst::service
