// The records of accounts and their users, as the administrative methods
// read and send them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velinst {

struct Account {
  static const char* ElementName() { return "Account"; }
  // False, changing nothing, when no field is called `name` (in any case).
  bool SetField(std::string_view name, std::string_view value);
  // The document posted by Accounts.Add, Create and Update; the id is
  // commented out.
  std::string ToXml() const;
  bool operator==(const Account&) const = default;

  std::int32_t Id = 0;
  std::string Name;
  std::string Address1;
  std::string Address2;
  std::string City;
  std::string State;
  std::string Zip;
  std::string ContactName;
  std::string ContactEmail;
  std::string ContactPhone;
};

struct AccountUser {
  static const char* ElementName() { return "AccountUser"; }
  bool SetField(std::string_view name, std::string_view value);
  // Without indentation; the id is commented out.
  std::string ToXml() const;
  bool operator==(const AccountUser&) const = default;

  std::int32_t Id = 0;
  std::string FirstName;
  std::string LastName;
  std::string UserName;
  std::string Email;
  std::string Phone;
  bool ReceiveNewsletter = false;
  bool ReceiveUpdates = false;
};

// Posted by AccountUsers.SetPassword; never read from an answer.
struct SetPasswordRequest {
  bool SetField(std::string_view name, std::string_view value);
  std::string ToXml() const;

  std::string Password;
};

}  // namespace velinst
