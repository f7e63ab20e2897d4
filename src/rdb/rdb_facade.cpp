#include "rdb/rdb_facade.h"

#include <limits>

#include "rdb/output_text.h"
#include "rdb/service_host.h"
#include "webclient/client_state.h"
#include "webclient/result_code.h"
#include "xml/escape.h"

namespace velinst {

namespace {

// The server's code for a parameter out of range.
constexpr std::int32_t kRdbIndexOutOfRange = 34;

// The application names the two sign-ins announce.
constexpr char kLoginApplication[] = "HalvardOutdoors";
constexpr char kCreateAccountApplication[] = "RidgelineAtlasPro";
constexpr char kSubscription[] = "BASESUBSCRIPTION";
constexpr char kAdministratorRole[] = "AccountAdmin";

// A new user before the service named it.
constexpr std::int32_t kNoUser = -1;
// No user id in the login's answer (a value no server sends).
constexpr std::int32_t kNoAnsweredId = std::numeric_limits<std::int32_t>::min();

void CopyDecoded(char* buffer, const std::string& text) { CopyDisplayText(buffer, XMLUnescaped(text)); }

// The caller's account texts, escaped as they are sent.
Account EncodedAccount(const Account& given) {
  Account account;
  account.Name = XMLEscaped(given.Name);
  account.Address1 = XMLEscaped(given.Address1);
  account.Address2 = XMLEscaped(given.Address2);
  account.City = XMLEscaped(given.City);
  account.State = XMLEscaped(given.State);
  account.Zip = XMLEscaped(given.Zip);
  account.ContactName = XMLEscaped(given.ContactName);
  account.ContactEmail = XMLEscaped(given.ContactEmail);
  account.ContactPhone = XMLEscaped(given.ContactPhone);
  return account;
}

void SetPersonalDetails(AccountUser& user, const std::string& firstName, const std::string& lastName,
                        const std::string& email, const std::string& phone) {
  user.FirstName = XMLEscaped(firstName);
  user.LastName = XMLEscaped(lastName);
  user.Email = XMLEscaped(email);
  user.Phone = XMLEscaped(phone);
}

// Removes the user and the account that a failed creation made, the user
// first: removing an account leaves its users behind. Without this the
// half-made account blocks every retry of its product id, and its user,
// who lacks a password or the role, never signs in. The removals' own
// failures are passed over: the caller learns why the creation failed.
void TakeBackNewAccount(CRKAD& client, const std::string& authToken, std::int32_t userId, std::int32_t accountId) {
  try {
    client.AccountUsers().Remove(authToken, userId);
  } catch (CLastErr*) {
  }
  try {
    client.Accounts().Remove(authToken, accountId);
  } catch (CLastErr*) {
  }
}

}  // namespace

CRdbFacade::CRdbFacade(const char* defaultHost)
    : client_(std::make_unique<CRKAD>(ReadServiceHost(defaultHost), "", false)) {}

CRdbFacade::~CRdbFacade() = default;

std::int32_t CRdbFacade::AccountUsers(const std::string& authToken, const std::string& productId,
                                      std::vector<AccountUser>& users) {
  const CRKADResult<Account> account = client_->Accounts().GetByProductId(authToken, productId);
  if (account.code != kRKSuccess) return account.code;
  CRKADResult<std::vector<AccountUser>> listed = client_->AccountUsers().Get(authToken, account.value.Id);
  if (listed.code != kRKSuccess) return listed.code;
  users = std::move(listed.value);
  return kRKSuccess;
}

std::int32_t CRdbFacade::GetUserCount(const std::string& authToken, const std::string& productId, std::int32_t& count) {
  std::vector<AccountUser> users;
  if (const std::int32_t code = AccountUsers(authToken, productId, users); code != kRKSuccess) return code;
  count = static_cast<std::int32_t>(users.size());
  return kRKSuccess;
}

std::int32_t CRdbFacade::GetUserID(const std::string& authToken, const std::string& productId, std::int32_t index,
                                   std::int32_t& userId) {
  std::vector<AccountUser> users;
  if (const std::int32_t code = AccountUsers(authToken, productId, users); code != kRKSuccess) return code;
  if (index < 0 || static_cast<std::size_t>(index) >= users.size()) return kRdbIndexOutOfRange;
  userId = users[static_cast<std::size_t>(index)].Id;
  return kRKSuccess;
}

std::int32_t CRdbFacade::GetAccount(const std::string& authToken, const std::string& productId, char* contactName,
                                    char* contactEmail, char* contactPhone, std::int32_t& accountId) {
  const CRKADResult<Account> account = client_->Accounts().GetByProductId(authToken, productId);
  if (account.code != kRKSuccess) return account.code;
  CopyDecoded(contactName, account.value.ContactName);
  CopyDecoded(contactEmail, account.value.ContactEmail);
  CopyDecoded(contactPhone, account.value.ContactPhone);
  accountId = account.value.Id;
  return kRKSuccess;
}

std::int32_t CRdbFacade::GetUserInfo(const std::string& authToken, std::int32_t userId, char* firstName, char* lastName,
                                     char* userName, char* email, char* phone) {
  const CRKADResult<AccountUser> user = client_->AccountUsers().GetById(authToken, userId);
  if (user.code != kRKSuccess) return user.code;
  CopyDecoded(firstName, user.value.FirstName);
  CopyDecoded(lastName, user.value.LastName);
  CopyDecoded(userName, user.value.UserName);
  CopyDecoded(email, user.value.Email);
  CopyDecoded(phone, user.value.Phone);
  return kRKSuccess;
}

std::int32_t CRdbFacade::SignIn(const std::string& userName, const std::string& password, const char* appName,
                                char* token, std::int32_t* userId) {
  std::int32_t answeredId = kNoAnsweredId;
  const CRKTokenResult signedIn = client_->AccountGroup().Login(userName, password, "", "", appName, "", "", "", "", "",
                                                                nullptr, nullptr, &answeredId);
  if (signedIn.code != kRKSuccess) return signedIn.code;
  // The token is copied as it came: it is sent back as it is. It is this
  // sign-in's own answer, not the process-wide current token, which a
  // sign-in on another thread may have replaced since.
  if (!CopyToken(token, signedIn.token)) return kRdbFailed;
  if (userId != nullptr && answeredId != kNoAnsweredId) *userId = answeredId;
  return kRKSuccess;
}

std::int32_t CRdbFacade::Login(const std::string& userName, const std::string& password, char* token,
                               std::int32_t* userId) {
  return SignIn(XMLEscaped(userName), XMLEscaped(password), kLoginApplication, token, userId);
}

std::int32_t CRdbFacade::CreateUserAccount(const std::string& authToken, const CRdbNewAccount& created, char* token) {
  token[0] = '\0';
  const CRKADResult<Account> account =
      client_->Accounts().Create(authToken, 1, created.productId, kSubscription, EncodedAccount(created.account));
  if (account.code != kRKSuccess) return account.code;
  const std::int32_t accountId = account.value.Id;

  const std::string userName = XMLEscaped(created.userName);
  const std::string password = XMLEscaped(created.password);
  std::int32_t userId = kNoUser;
  const CRKExistsResult taken = client_->AccountGroup().UsernameExists(userName);
  if (taken.code != kRKSuccess) return taken.code;
  if (taken.exists) {
    // The existing user proves the password as the caller typed it.
    const std::int32_t code = SignIn(userName, created.password, kCreateAccountApplication, token, &userId);
    if (code != kRKSuccess) return code;
  }

  CRKADAccountUsersClass& users = client_->AccountUsers();
  const bool newUser = userId == kNoUser;
  if (newUser) {
    AccountUser user;
    SetPersonalDetails(user, created.firstName, created.lastName, created.email, created.phone);
    user.UserName = userName;
    const CRKADResult<AccountUser> added = users.Add(authToken, accountId, user);
    if (added.code != kRKSuccess) {
      // The account is no use without its administrator. Whether or not it
      // goes, the caller learns why the user could not be added.
      try {
        client_->Accounts().Remove(authToken, accountId);
      } catch (CLastErr*) {
      }
      return added.code;
    }
    userId = added.value.Id;
  } else {
    if (const std::int32_t code = users.Transfer(authToken, userId, accountId); code != kRKSuccess) return code;
    CRKADResult<AccountUser> user = users.GetById(authToken, userId);
    if (user.code != kRKSuccess) return user.code;
    SetPersonalDetails(user.value, created.firstName, created.lastName, created.email, created.phone);
    if (const std::int32_t code = users.Update(authToken, userId, user.value).code; code != kRKSuccess) return code;
  }

  const auto makeAdministrator = [&]() -> std::int32_t {
    if (const std::int32_t code = users.SetPassword(authToken, userId, SetPasswordRequest{password});
        code != kRKSuccess)
      return code;
    if (const std::int32_t code = client_->Roles().Add(authToken, userId, kAdministratorRole); code != kRKSuccess)
      return code;
    if (token[0] == '\0') return SignIn(userName, password, kCreateAccountApplication, token, nullptr);
    return kRKSuccess;
  };
  // A moved user stays where the transfer put it: taking its new account
  // back would strip the user's role and leave it outside every account.
  if (!newUser) return makeAdministrator();
  std::int32_t code = kRKSuccess;
  try {
    code = makeAdministrator();
  } catch (CLastErr*) {
    TakeBackNewAccount(*client_, authToken, userId, accountId);
    throw;
  }
  if (code != kRKSuccess) TakeBackNewAccount(*client_, authToken, userId, accountId);
  return code;
}

std::int32_t CRdbFacade::SetUserInfo(const std::string& authToken, std::int32_t userId, const std::string& firstName,
                                     const std::string& lastName, const std::string& email, const std::string& phone,
                                     bool receiveNewsletter, bool receiveUpdates) {
  CRKADResult<AccountUser> user = client_->AccountUsers().GetById(authToken, userId);
  if (user.code != kRKSuccess) return user.code;
  SetPersonalDetails(user.value, firstName, lastName, email, phone);
  user.value.ReceiveNewsletter = receiveNewsletter;
  user.value.ReceiveUpdates = receiveUpdates;
  return client_->AccountUsers().Update(authToken, userId, user.value).code;
}

std::int32_t CRdbFacade::FindAccount(const std::string& authToken, const std::string& productId,
                                     std::int32_t& accountId) {
  const CRKADResult<Account> account = client_->Accounts().GetByProductId(authToken, productId);
  if (account.code != kRKSuccess) return account.code;
  accountId = account.value.Id;
  return kRKSuccess;
}

std::int32_t CRdbFacade::UserNameExists(const std::string& userName, std::int32_t& exists) {
  const CRKExistsResult result = client_->AccountGroup().UsernameExists(XMLEscaped(userName));
  if (result.code != kRKSuccess) return result.code;
  exists = result.exists ? 1 : 0;
  return kRKSuccess;
}

std::int32_t CRdbFacade::EmailAddressExists(const std::string& emailAddress, std::int32_t& exists) {
  const CRKExistsResult result = client_->AccountGroup().EmailAddressExists(XMLEscaped(emailAddress));
  if (result.code != kRKSuccess) return result.code;
  exists = result.exists ? 1 : 0;
  return kRKSuccess;
}

}  // namespace velinst
