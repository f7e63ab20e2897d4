// What the service accepts as user names, passwords, e-mail addresses and
// phone numbers, and the uniqueness of names and addresses. Each check
// throws the ServiceError of its kind. Texts are in the stored form.
#pragma once

#include <cstdint>
#include <string_view>

#include "sqlite_database.h"

namespace velinst::service {

inline constexpr std::size_t kMaxUserNameLength = 128;
inline constexpr std::size_t kMinPasswordLength = 6;
inline constexpr std::size_t kMaxPasswordLength = 256;

void CheckUserNameFormat(std::string_view userName);
void CheckPasswordFormat(std::string_view password);
void CheckEmailFormat(std::string_view email);
// An empty phone number is accepted (the field is optional).
void CheckPhoneFormat(std::string_view phone);

// Each free unless a user other than `exceptUserId` holds it (any case).
void CheckUserNameFree(Database& database, std::string_view userName, std::int64_t exceptUserId = 0);
void CheckEmailFree(Database& database, std::string_view email, std::int64_t exceptUserId = 0);
void CheckDisplayNameFree(Database& database, std::string_view displayName, std::int64_t exceptUserId = 0);

}  // namespace velinst::service
