// The "Account" method group: sign-in by user or device, registration,
// password changes, profile updates and the availability checks. It keeps
// the process-wide auth token and the credentials of the last sign-in, and
// as the registered exception handler signs in again by itself when the
// server reports an expired token.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "webclient/exception_handler.h"
#include "webclient/rk_class.h"

namespace velinst {

struct CRKExistsResult {
  std::int32_t code = 0;
  bool exists = false;
};

struct CRKTimeStampResult {
  std::int32_t code = 0;
  std::string timeStamp;
};

struct CRKTokenResult {
  std::int32_t code = 0;
  std::string token;  // empty when the answer carried none
};

class CRKAccountClass : public CRKClass, public IRKExceptionHandler {
 public:
  // Registers this object as the client's exception handler.
  CRKAccountClass();
  // Removes the registration while it is still this object's.
  ~CRKAccountClass() override;

  CRKExistsResult DisplayNameExists(const std::string& displayName);
  CRKExistsResult EmailAddressExists(const std::string& emailAddress);
  CRKExistsResult UsernameExists(const std::string& username);
  CRKTimeStampResult GetTimeStamp();

  // Asks the server's time stamp first and stops with its code when that
  // fails. On success the token becomes the current auth token.
  CRKTokenResult GetAnonymousAuthToken(const std::string& hardwareID, const std::string& appName,
                                       const std::string& appVersion, const std::string& manufacturer,
                                       const std::string& model, const std::string& carrier,
                                       const std::string& firmware, const std::string& drmInfo);

  // The outputs that are not null receive the answer's values once it held
  // a token and a user id, whatever the code. On success the token becomes
  // the current auth token and the ten texts the saved credentials.
  CRKTokenResult Login(const std::string& username, const std::string& password, const std::string& hardwareID,
                       const std::string& appVersion, const std::string& appName, const std::string& manufacturer,
                       const std::string& model, const std::string& carrier, const std::string& firmware,
                       const std::string& drmInfo, double* weight, std::string* units, std::int32_t* userId);

  // newsLetterOptIn is sent only when given; weight and units always.
  // `userId` (may be null) receives the new user's id as Login's outputs do.
  CRKTokenResult Register(const std::string& username, const std::string& password, std::optional<bool> newsLetterOptIn,
                          const std::string& hardwareID, const std::string& appVersion, const std::string& appName,
                          const std::string& emailAddress, const std::string& manufacturer, const std::string& model,
                          const std::string& carrier, const std::string& firmware, const std::string& drmInfo,
                          double weight, const std::string& units, std::int32_t* userId);

  // On success the saved password becomes `newPassword`.
  std::int32_t ChangePassword(const std::string& authToken, const std::string& oldPassword,
                              const std::string& newPassword);
  std::int32_t ResetPassword(const std::string& emailAddress, bool forceChangeOnNextLogin);
  // weight and units are sent only when given.
  std::int32_t Update(const std::string& authToken, const std::string& displayName, const std::string& emailAddress,
                      std::optional<double> weight, const std::optional<std::string>& units);

  // Signs in again with the saved credentials when `error` is an expired
  // token, the credentials are known, and this is the first automatic
  // sign-in or follows the previous one within an hour.
  bool Handle(CRKException error) override;

 private:
  CRKExistsResult Exists(const char* method, const char* name, const std::string& value);
};

}  // namespace velinst
