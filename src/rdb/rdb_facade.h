// One account transaction of the installer: the facade enters the
// thread's COM apartment, finds the service host and creates the client;
// each operation strings the service calls of one export together and
// copies the answers into the caller's buffers (kRdbOutputSize bytes each).
//
// Operations return 0, the first non-zero result code of a service call
// (stopping there), or kRdbFailed. Failures that the client raises pass
// through as CLastErr*; the exports turn them into kRdbFailed as well.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "rdb/com_apartment.h"
#include "webclient/rkad.h"

namespace velinst {

// An error inside an account export: a raised failure, a null text, an
// auth token that does not fit.
inline constexpr std::int32_t kRdbFailed = 3;

// A new account and its administrating user, as the caller gives them.
struct CRdbNewAccount {
  std::string productId;
  std::string userName;
  std::string password;
  // Name, addresses and contact; its Id is not used.
  Account account;
  std::string firstName;
  std::string lastName;
  std::string email;
  std::string phone;
};

class CRdbFacade {
 public:
  // The host comes from the registry, else `defaultHost`.
  explicit CRdbFacade(const char* defaultHost);
  CRdbFacade(const CRdbFacade&) = delete;
  CRdbFacade& operator=(const CRdbFacade&) = delete;
  ~CRdbFacade();

  std::int32_t GetUserCount(const std::string& authToken, const std::string& productId, std::int32_t& count);
  // An index outside the list gives the code of a parameter out of range.
  std::int32_t GetUserID(const std::string& authToken, const std::string& productId, std::int32_t index,
                         std::int32_t& userId);
  std::int32_t GetAccount(const std::string& authToken, const std::string& productId, char* contactName,
                          char* contactEmail, char* contactPhone, std::int32_t& accountId);
  std::int32_t GetUserInfo(const std::string& authToken, std::int32_t userId, char* firstName, char* lastName,
                           char* userName, char* email, char* phone);
  std::int32_t CreateUserAccount(const std::string& authToken, const CRdbNewAccount& created, char* token);
  // `userId` may be null.
  std::int32_t Login(const std::string& userName, const std::string& password, char* token, std::int32_t* userId);
  std::int32_t SetUserInfo(const std::string& authToken, std::int32_t userId, const std::string& firstName,
                           const std::string& lastName, const std::string& email, const std::string& phone,
                           bool receiveNewsletter, bool receiveUpdates);
  std::int32_t FindAccount(const std::string& authToken, const std::string& productId, std::int32_t& accountId);
  std::int32_t UserNameExists(const std::string& userName, std::int32_t& exists);
  std::int32_t EmailAddressExists(const std::string& emailAddress, std::int32_t& exists);

 private:
  // Signs in with texts already escaped as they are to be sent; the token
  // goes to `token`.
  std::int32_t SignIn(const std::string& userName, const std::string& password, const char* appName, char* token,
                      std::int32_t* userId);
  std::int32_t AccountUsers(const std::string& authToken, const std::string& productId,
                            std::vector<AccountUser>& users);

  // The client holds the answer document, a COM object on Windows: it goes
  // before the apartment is left.
  CComApartment apartment_;
  std::unique_ptr<CRKAD> client_;
};

}  // namespace velinst
