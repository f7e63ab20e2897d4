#include "webclient/account_class.h"

#include "webclient/account_parsers.h"
#include "webclient/account_session.h"
#include "webclient/client_state.h"
#include "webclient/result_code.h"

namespace velinst {

namespace {

// An automatic sign-in is tried again only within this time of the
// previous one.
constexpr std::int64_t kAutomaticSignInWindow = 3600;

}  // namespace

CRKAccountClass::CRKAccountClass() { RegisterExceptionHandler(this); }

CRKAccountClass::~CRKAccountClass() { UnregisterExceptionHandler(this); }

CRKExistsResult CRKAccountClass::Exists(const char* method, const char* name, const std::string& value) {
  CRKExists parser;
  const std::int32_t code = Send(method, {{name, value}}, &parser, kRKPlain);
  return {code, parser.Exists()};
}

CRKExistsResult CRKAccountClass::DisplayNameExists(const std::string& displayName) {
  return Exists("Account.DisplayNameExists", "displayName", displayName);
}

CRKExistsResult CRKAccountClass::EmailAddressExists(const std::string& emailAddress) {
  return Exists("Account.EmailAddressExists", "emailAddress", emailAddress);
}

CRKExistsResult CRKAccountClass::UsernameExists(const std::string& username) {
  return Exists("Account.UsernameExists", "username", username);
}

CRKTimeStampResult CRKAccountClass::GetTimeStamp() {
  CRKCurrentTimeStamp parser;
  const std::int32_t code = Send("Account.GetTimeStamp", {}, &parser, kRKPlain);
  return {code, parser.TimeStamp()};
}

CRKTokenResult CRKAccountClass::GetAnonymousAuthToken(const std::string& hardwareID, const std::string& appName,
                                                      const std::string& appVersion, const std::string& manufacturer,
                                                      const std::string& model, const std::string& carrier,
                                                      const std::string& firmware, const std::string& drmInfo) {
  const CRKTimeStampResult timeStamp = GetTimeStamp();
  if (timeStamp.code != kRKSuccess) return {timeStamp.code, std::string()};

  CRKAuthToken parser;
  const std::int32_t code = Send("Account.GetAnonymousAuthToken",
                                 {{"timestamp", timeStamp.timeStamp},
                                  {"hardwareID", hardwareID},
                                  {"appName", appName},
                                  {"appVersion", appVersion},
                                  {"manufacturer", manufacturer},
                                  {"model", model},
                                  {"carrier", carrier},
                                  {"firmware", firmware},
                                  {"drmInfo", drmInfo}},
                                 &parser, kRKEncryptedDeviceInfo);
  if (code == kRKSuccess) SetCurrentAuthToken(parser.Token());
  return {code, parser.Token()};
}

CRKTokenResult CRKAccountClass::Login(const std::string& username, const std::string& password,
                                      const std::string& hardwareID, const std::string& appVersion,
                                      const std::string& appName, const std::string& manufacturer,
                                      const std::string& model, const std::string& carrier, const std::string& firmware,
                                      const std::string& drmInfo, double* weight, std::string* units,
                                      std::int32_t* userId) {
  CRKLogin parser;
  const std::int32_t code = Send("Account.Login",
                                 {{"username", username},
                                  {"password", password},
                                  {"hardwareID", hardwareID},
                                  {"appVersion", appVersion},
                                  {"appName", appName},
                                  {"manufacturer", manufacturer},
                                  {"model", model},
                                  {"carrier", carrier},
                                  {"firmware", firmware},
                                  {"drmInfo", drmInfo}},
                                 &parser, kRKEncryptedData);
  if (parser.IsFilled()) {
    if (weight != nullptr) *weight = parser.Weight();
    if (units != nullptr) *units = parser.Units();
    if (userId != nullptr) *userId = parser.UserId();
  }
  if (code == kRKSuccess) {
    SetCurrentAuthToken(parser.Token());
    SaveCredentials(
        {username, password, hardwareID, appVersion, appName, manufacturer, model, carrier, firmware, drmInfo});
  }
  return {code, parser.Token()};
}

CRKTokenResult CRKAccountClass::Register(const std::string& username, const std::string& password,
                                         std::optional<bool> newsLetterOptIn, const std::string& hardwareID,
                                         const std::string& appVersion, const std::string& appName,
                                         const std::string& emailAddress, const std::string& manufacturer,
                                         const std::string& model, const std::string& carrier,
                                         const std::string& firmware, const std::string& drmInfo, double weight,
                                         const std::string& units, std::int32_t* userId) {
  CRKParameterList parameters = {{"username", username}, {"password", password}};
  AddOptional(parameters, "newsLetterOptIn", newsLetterOptIn);
  parameters.insert(parameters.end(), {{"hardwareID", hardwareID},
                                       {"appVersion", appVersion},
                                       {"appName", appName},
                                       {"emailAddress", emailAddress},
                                       {"manufacturer", manufacturer},
                                       {"model", model},
                                       {"carrier", carrier},
                                       {"firmware", firmware},
                                       {"drmInfo", drmInfo},
                                       {"weight", FixedText(weight)},
                                       {"units", units}});
  CRKLogin parser;
  const std::int32_t code = Send("Account.Register", std::move(parameters), &parser, kRKEncryptedData);
  if (parser.IsFilled() && userId != nullptr) *userId = parser.UserId();
  if (code == kRKSuccess) {
    SetCurrentAuthToken(parser.Token());
    SaveCredentials(
        {username, password, hardwareID, appVersion, appName, manufacturer, model, carrier, firmware, drmInfo});
  }
  return {code, parser.Token()};
}

std::int32_t CRKAccountClass::ChangePassword(const std::string& authToken, const std::string& oldPassword,
                                             const std::string& newPassword) {
  const std::int32_t code = Send("Account.ChangePassword",
                                 {{"authToken", authToken}, {"oldPassword", oldPassword}, {"newPassword", newPassword}},
                                 nullptr, kRKEncryptedData);
  if (code == kRKSuccess) SaveChangedPassword(newPassword);
  return code;
}

std::int32_t CRKAccountClass::ResetPassword(const std::string& emailAddress, bool forceChangeOnNextLogin) {
  return Send("Account.ResetPassword",
              {{"emailAddress", emailAddress}, {"forceChangeOnNextLogin", BooleanText(forceChangeOnNextLogin)}},
              nullptr, kRKPlain);
}

std::int32_t CRKAccountClass::Update(const std::string& authToken, const std::string& displayName,
                                     const std::string& emailAddress, std::optional<double> weight,
                                     const std::optional<std::string>& units) {
  CRKParameterList parameters = {
      {"authToken", authToken}, {"displayName", displayName}, {"emailAddress", emailAddress}};
  AddOptional(parameters, "weight", weight);
  AddOptional(parameters, "units", units);
  return Send("Account.Update", std::move(parameters), nullptr, kRKPlain);
}

bool CRKAccountClass::Handle(CRKException error) {
  const std::int64_t now = SignInClockNow();
  // The window opens with the first server error handled, whatever its
  // kind, and moves with every automatic sign-in.
  std::int64_t last = now;
  if (const std::optional<std::int64_t> previous = LastAutomaticSignIn(); previous.has_value())
    last = *previous;
  else
    SetLastAutomaticSignIn(now);
  const CRKCredentials saved = SavedCredentials();
  if (last < now - kAutomaticSignInWindow || error.Code() != kRKExpiredAuthToken || saved.username.empty() ||
      saved.password.empty())
    return false;
  const CRKTokenResult signedIn =
      Login(saved.username, saved.password, saved.hardwareID, saved.appVersion, saved.appName, saved.manufacturer,
            saved.model, saved.carrier, saved.firmware, saved.drmInfo, nullptr, nullptr, nullptr);
  SetLastAutomaticSignIn(SignInClockNow());
  return signedIn.code == kRKSuccess;
}

}  // namespace velinst
