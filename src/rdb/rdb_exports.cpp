// The account exports: each runs one facade operation on a facade of its
// own and returns its result code; anything raised inside gives 3.
#include "errors/export_guard.h"
#include "rdb/rdb_facade.h"
#include "rdb/service_host.h"
#include "velinst.h"

namespace velinst {
namespace {

// True when none of the caller's texts and outputs is null.
template <typename... Pointers>
bool Given(const Pointers*... pointers) {
  return ((pointers != nullptr) && ...);
}

// Nothing is sent or written when a needed argument is missing.
template <typename Operation>
int RunFacade(bool argumentsGiven, Operation&& operation) {
  return GuardedExport(static_cast<int>(kRdbFailed), [&]() -> int {
    if (!argumentsGiven) return kRdbFailed;
    CRdbFacade facade(kDefaultServiceHost);
    return operation(facade);
  });
}

}  // namespace
}  // namespace velinst

using velinst::CRdbFacade;
using velinst::RunFacade;

extern "C" {

VELINST_EXPORT int VELAPI VEL_RDB_GetUserCount(const char* authToken, const char* productId, int* userCount) {
  return RunFacade(velinst::Given(authToken, productId, userCount),
                   [&](CRdbFacade& facade) { return facade.GetUserCount(authToken, productId, *userCount); });
}

VELINST_EXPORT int VELAPI VEL_RDB_GetUserID(const char* authToken, const char* productId, int index, int* userId) {
  return RunFacade(velinst::Given(authToken, productId, userId),
                   [&](CRdbFacade& facade) { return facade.GetUserID(authToken, productId, index, *userId); });
}

VELINST_EXPORT int VELAPI VEL_RDB_GetAccount(const char* authToken, const char* productId, char* contactName,
                                             char* contactEmail, char* contactPhone, int* accountId) {
  return RunFacade(velinst::Given(authToken, productId, contactName, contactEmail, contactPhone, accountId),
                   [&](CRdbFacade& facade) {
                     return facade.GetAccount(authToken, productId, contactName, contactEmail, contactPhone,
                                              *accountId);
                   });
}

VELINST_EXPORT int VELAPI VEL_RDB_GetUserInfo(const char* authToken, int userId, char* firstName, char* lastName,
                                              char* userName, char* email, char* phone) {
  return RunFacade(velinst::Given(authToken, firstName, lastName, userName, email, phone), [&](CRdbFacade& facade) {
    return facade.GetUserInfo(authToken, userId, firstName, lastName, userName, email, phone);
  });
}

VELINST_EXPORT int VELAPI VEL_RDB_CreateUserAccount(const char* authToken, const char* productId, const char* userName,
                                                    const char* password, const char* accountName, const char* address1,
                                                    const char* address2, const char* city, const char* state,
                                                    const char* zip, const char* contactName, const char* contactEmail,
                                                    const char* contactPhone, const char* firstName,
                                                    const char* lastName, const char* email, const char* phone,
                                                    char* authTokenOut) {
  const bool given =
      velinst::Given(authToken, productId, userName, password, accountName, address1, address2, city, state, zip,
                     contactName, contactEmail, contactPhone, firstName, lastName, email, phone, authTokenOut);
  return RunFacade(given, [&](CRdbFacade& facade) {
    velinst::CRdbNewAccount created;
    created.productId = productId;
    created.userName = userName;
    created.password = password;
    created.account.Name = accountName;
    created.account.Address1 = address1;
    created.account.Address2 = address2;
    created.account.City = city;
    created.account.State = state;
    created.account.Zip = zip;
    created.account.ContactName = contactName;
    created.account.ContactEmail = contactEmail;
    created.account.ContactPhone = contactPhone;
    created.firstName = firstName;
    created.lastName = lastName;
    created.email = email;
    created.phone = phone;
    return facade.CreateUserAccount(authToken, created, authTokenOut);
  });
}

VELINST_EXPORT int VELAPI VEL_RDB_Login(const char* userName, const char* password, char* authToken, int* userId) {
  return RunFacade(velinst::Given(userName, password, authToken),
                   [&](CRdbFacade& facade) { return facade.Login(userName, password, authToken, userId); });
}

VELINST_EXPORT int VELAPI VEL_RDB_SetUserInfo(const char* authToken, int userId, const char* firstName,
                                              const char* lastName, const char* email, const char* phone,
                                              int receiveNewsletter, int receiveUpdates) {
  return RunFacade(velinst::Given(authToken, firstName, lastName, email, phone), [&](CRdbFacade& facade) {
    return facade.SetUserInfo(authToken, userId, firstName, lastName, email, phone, receiveNewsletter != 0,
                              receiveUpdates != 0);
  });
}

VELINST_EXPORT int VELAPI VEL_RDB_FindAccount(const char* authToken, int /*ignored*/, const char* productId,
                                              int* accountId) {
  return RunFacade(velinst::Given(authToken, productId, accountId),
                   [&](CRdbFacade& facade) { return facade.FindAccount(authToken, productId, *accountId); });
}

VELINST_EXPORT int VELAPI VEL_RDB_UserNameExists(const char* userName, int* exists) {
  return RunFacade(velinst::Given(userName, exists),
                   [&](CRdbFacade& facade) { return facade.UserNameExists(userName, *exists); });
}

VELINST_EXPORT int VELAPI VEL_RDB_EmailAddressExists(const char* emailAddress, int* exists) {
  return RunFacade(velinst::Given(emailAddress, exists),
                   [&](CRdbFacade& facade) { return facade.EmailAddressExists(emailAddress, *exists); });
}

}  // extern "C"
