#include "webclient/ad_account_records.h"

#include "webclient/ad_record_fields.h"

namespace velinst {

namespace {

constexpr CRKADField<Account> kAccountFields[] = {{"Id", &Account::Id},
                                                  {"Name", &Account::Name},
                                                  {"Address1", &Account::Address1},
                                                  {"Address2", &Account::Address2},
                                                  {"City", &Account::City},
                                                  {"State", &Account::State},
                                                  {"Zip", &Account::Zip},
                                                  {"ContactName", &Account::ContactName},
                                                  {"ContactEmail", &Account::ContactEmail},
                                                  {"ContactPhone", &Account::ContactPhone}};

constexpr CRKADField<AccountUser> kAccountUserFields[] = {{"Id", &AccountUser::Id},
                                                          {"FirstName", &AccountUser::FirstName},
                                                          {"LastName", &AccountUser::LastName},
                                                          {"UserName", &AccountUser::UserName},
                                                          {"Email", &AccountUser::Email},
                                                          {"Phone", &AccountUser::Phone},
                                                          {"ReceiveNewsletter", &AccountUser::ReceiveNewsletter},
                                                          {"ReceiveUpdates", &AccountUser::ReceiveUpdates}};

constexpr CRKADField<SetPasswordRequest> kSetPasswordRequestFields[] = {{"Password", &SetPasswordRequest::Password}};

}  // namespace

bool Account::SetField(std::string_view name, std::string_view value) {
  return SetRecordField<Account>(*this, kAccountFields, name, value);
}

std::string Account::ToXml() const { return RecordDocument<Account>(*this, kAccountFields, {"Account", "  ", true}); }

bool AccountUser::SetField(std::string_view name, std::string_view value) {
  return SetRecordField<AccountUser>(*this, kAccountUserFields, name, value);
}

std::string AccountUser::ToXml() const {
  return RecordDocument<AccountUser>(*this, kAccountUserFields, {"AccountUser", "", true});
}

bool SetPasswordRequest::SetField(std::string_view name, std::string_view value) {
  return SetRecordField<SetPasswordRequest>(*this, kSetPasswordRequestFields, name, value);
}

std::string SetPasswordRequest::ToXml() const {
  return RecordDocument<SetPasswordRequest>(*this, kSetPasswordRequestFields, {"SetPasswordRequest", "  ", false});
}

}  // namespace velinst
