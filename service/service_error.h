// A server error answered to the client: the type names the error the
// client maps to its result code, the message is for people.
#pragma once

#include <stdexcept>
#include <string>

namespace velinst::service {

namespace error_type {
inline constexpr const char* kContentLengthMismatch = "ContentLengthMissmatchException";
inline constexpr const char* kDuplicateDisplayName = "DuplicateDisplayNameException";
inline constexpr const char* kDuplicateEmailAddress = "DuplicateEmailAddressException";
inline constexpr const char* kDuplicateUsername = "DuplicateUsernameException";
inline constexpr const char* kDuplicateValue = "DuplicateValueException";
inline constexpr const char* kEmailAddressFormat = "EmailAddressFormatException";
inline constexpr const char* kExpiredAuthToken = "ExpiredAuthTokenException";
inline constexpr const char* kAuthTokenIPAddress = "AuthTokenIPAddressException";
inline constexpr const char* kIncorrectPassword = "IncorrectPasswordException";
inline constexpr const char* kInvalidAuthToken = "InvalidAuthTokenException";
inline constexpr const char* kInvalidCredentials = "InvalidCredentialsException";
inline constexpr const char* kMediaToPoi = "MediaToPoiException";
inline constexpr const char* kMissingParameter = "MissingParameterException";
inline constexpr const char* kNotAuthorized = "NotAuthorizedException";
inline constexpr const char* kParameter = "ParameterException";
inline constexpr const char* kParameterOutOfRange = "ParameterOutOfRangeException";
inline constexpr const char* kPasswordFormat = "PasswordFormatException";
inline constexpr const char* kPhoneNumberFormat = "PhoneNumberFormatException";
inline constexpr const char* kRecordNotFound = "RecordNotFoundException";
inline constexpr const char* kRequest = "RequestException";
inline constexpr const char* kRequestTooLarge = "RequestTooLargeException";
inline constexpr const char* kSearchAreaTooLarge = "SearchAreaTooLargeException";
inline constexpr const char* kUsernameFormat = "UsernameFormatException";
// The service's own failure (its storage), not the request's.
inline constexpr const char* kService = "HalvardException";
}  // namespace error_type

class ServiceError : public std::runtime_error {
 public:
  ServiceError(const char* type, const std::string& message) : std::runtime_error(message), type_(type) {}
  const char* Type() const { return type_; }

 private:
  const char* type_;
};

}  // namespace velinst::service
