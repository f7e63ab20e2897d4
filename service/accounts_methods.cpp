// The "Accounts" group: the accounts that products are registered to.
#include "account_rules.h"
#include "method_table.h"
#include "service_clock.h"
#include "service_error.h"

namespace velinst::service {
namespace {

void WriteAccount(MethodContext& context, std::int64_t accountId) {
  WriteRecords(context.Db(), context.Answer(), kAccountRecord, "WHERE id = ?", accountId);
}

PostedRecord PostedAccount(const MethodContext& context) {
  PostedRecord account = PostedRecord::Read(context.Body(), kAccountRecord);
  if (account.Has("ContactEmail") && !account.Text("ContactEmail").empty())
    CheckEmailFormat(account.Text("ContactEmail"));
  CheckPhoneFormat(account.Text("ContactPhone"));
  return account;
}

void Get(MethodContext& context) {
  const Caller caller = context.Authenticate();
  RequireAccountAdmin(caller);
  context.Answer().Open("Accounts");
  if (caller.ServiceAdmin())
    WriteRecords(context.Db(), context.Answer(), kAccountRecord, "ORDER BY id");
  else
    WriteRecords(context.Db(), context.Answer(), kAccountRecord, "WHERE id = ?", *caller.accountId);
  context.Answer().Close();
}

void GetById(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t id = context.Integer("id");
  RequireAdminOverAccount(context.Db(), caller, id);
  WriteAccount(context, id);
}

void GetByProductId(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::string productId = context.Text("productId");
  RequireAccountAdmin(caller);
  const auto id = context.Db().Integer("SELECT id FROM accounts WHERE product_id = ?", productId);
  if (!id) throw ServiceError(error_type::kRecordNotFound, "No account has that product id");
  RequireAdminOverAccount(context.Db(), caller, *id);
  WriteAccount(context, *id);
}

// The account of the caller.
void Find(MethodContext& context) {
  const Caller caller = context.AuthenticateUser();
  if (!caller.accountId) throw ServiceError(error_type::kRecordNotFound, "The user belongs to no account");
  WriteAccount(context, *caller.accountId);
}

void Add(MethodContext& context) {
  const Caller caller = context.Authenticate();
  RequireServiceAdmin(caller);
  const PostedRecord account = PostedAccount(context);
  WriteAccount(context, InsertRecord(context.Db(), account, {{"created", context.Now()}}));
}

void Create(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t seats = context.Integer("users");
  const std::string productId = context.Text("productId");
  const std::string sku = context.Text("sku");
  RequireServiceAdmin(caller);
  if (seats < 1) throw ServiceError(error_type::kParameterOutOfRange, "An account has at least one user seat");
  if (productId.empty()) throw ServiceError(error_type::kMissingParameter, "The product id is empty");
  if (context.Db().Integer("SELECT 1 FROM accounts WHERE product_id = ?", productId))
    throw ServiceError(error_type::kDuplicateValue, "An account with that product id exists");
  const PostedRecord account = PostedAccount(context);
  WriteAccount(context,
               InsertRecord(context.Db(), account,
                            {{"product_id", productId}, {"sku", sku}, {"seats", seats}, {"created", context.Now()}}));
}

void Update(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t id = context.Integer("id");
  RequireAdminOverAccount(context.Db(), caller, id);
  UpdateRecord(context.Db(), PostedAccount(context), "id", id);
  WriteAccount(context, id);
}

// Answers the account as it was. Its users stay, outside every account and
// without the AccountAdmin role (which would otherwise reach every account).
void Remove(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t id = context.Integer("id");
  RequireAdminOverAccount(context.Db(), caller, id);
  WriteAccount(context, id);
  context.Db().Run("DELETE FROM roles WHERE role = ? AND user_id IN (SELECT id FROM users WHERE account_id = ?)",
                   kAccountAdminRole, id);
  context.Db().Run("DELETE FROM accounts WHERE id = ?", id);
}

constexpr MethodEntry kMethods[] = {
    {"Accounts.Get", Get},       {"Accounts.GetById", GetById}, {"Accounts.GetByProductId", GetByProductId},
    {"Accounts.Find", Find},     {"Accounts.Add", Add},         {"Accounts.Create", Create},
    {"Accounts.Update", Update}, {"Accounts.Remove", Remove},
};

}  // namespace

std::span<const MethodEntry> AccountsMethods() { return kMethods; }

}  // namespace velinst::service
