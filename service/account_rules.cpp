#include "account_rules.h"

#include <algorithm>

#include "service_error.h"

namespace velinst::service {
namespace {

constexpr std::size_t kMaxEmailLength = 254;
constexpr std::size_t kMaxPhoneLength = 32;

bool HasControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

}  // namespace

void CheckUserNameFormat(std::string_view userName) {
  if (userName.empty() || userName.size() > kMaxUserNameLength || HasControlCharacter(userName) ||
      userName.front() == ' ' || userName.back() == ' ')
    throw ServiceError(error_type::kUsernameFormat,
                       "A user name has 1 to 128 characters, no control characters and no space at either end");
}

void CheckPasswordFormat(std::string_view password) {
  if (password.size() < kMinPasswordLength || password.size() > kMaxPasswordLength || HasControlCharacter(password))
    throw ServiceError(error_type::kPasswordFormat, "A password has 6 to 256 characters and no control characters");
}

void CheckEmailFormat(std::string_view email) {
  const std::size_t at = email.find('@');
  const bool valid = at != std::string_view::npos && at > 0 && email.find('@', at + 1) == std::string_view::npos &&
                     email.size() <= kMaxEmailLength && !HasControlCharacter(email) &&
                     email.find(' ') == std::string_view::npos && [&] {
                       const std::string_view domain = email.substr(at + 1);
                       const std::size_t dot = domain.find('.');
                       return dot != std::string_view::npos && dot > 0 && domain.back() != '.';
                     }();
  if (!valid)
    throw ServiceError(error_type::kEmailAddressFormat, "The e-mail address is not of the form name@domain.tld");
}

void CheckPhoneFormat(std::string_view phone) {
  if (phone.empty()) return;
  const bool valid = phone.size() <= kMaxPhoneLength &&
                     std::any_of(phone.begin(), phone.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
                     std::all_of(phone.begin(), phone.end(), [](char c) {
                       return (c >= '0' && c <= '9') || c == ' ' || c == '+' || c == '-' || c == '(' || c == ')' ||
                              c == '.' || c == '/';
                     });
  if (!valid)
    throw ServiceError(error_type::kPhoneNumberFormat,
                       "A phone number has up to 32 digits, spaces and the signs + - ( ) . /");
}

void CheckUserNameFree(Database& database, std::string_view userName, std::int64_t exceptUserId) {
  if (database.Integer("SELECT 1 FROM users WHERE user_name = ? AND id <> ?", userName, exceptUserId))
    throw ServiceError(error_type::kDuplicateUsername, "The user name is taken");
}

void CheckEmailFree(Database& database, std::string_view email, std::int64_t exceptUserId) {
  if (!email.empty() && database.Integer("SELECT 1 FROM users WHERE email = ? AND id <> ?", email, exceptUserId))
    throw ServiceError(error_type::kDuplicateEmailAddress, "The e-mail address is taken");
}

void CheckDisplayNameFree(Database& database, std::string_view displayName, std::int64_t exceptUserId) {
  if (!displayName.empty() &&
      database.Integer("SELECT 1 FROM users WHERE display_name = ? AND id <> ?", displayName, exceptUserId))
    throw ServiceError(error_type::kDuplicateDisplayName, "The display name is taken");
}

}  // namespace velinst::service
