// Subcommands for the account exports: each prints the export's result
// code, then on success what it wrote, one "name: value" line each.
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <utility>

#include "command.h"
#include "velinst.h"

namespace velinst::cli {
namespace {

// The size of every text output of the account exports.
constexpr std::size_t kTextSize = 1024;
using Text = char[kTextSize];

using Field = std::pair<const char*, const char*>;

int Report(int code, std::initializer_list<Field> texts = {}) {
  std::printf("result: %d\n", code);
  if (code != 0) return 1;
  for (const Field& text : texts) std::printf("%s: %s\n", text.first, text.second);
  return 0;
}

int Number(const Invocation& invocation, std::size_t index) {
  return static_cast<int>(std::strtol(invocation.Argument(index).c_str(), nullptr, 10));
}

const char* Arg(const Invocation& invocation, std::size_t index) { return invocation.Argument(index).c_str(); }

int Login(const Invocation& invocation) {
  Text token = {};
  int userId = 0;
  const int code =
      VELINST_CLI_EXPORT(invocation, VEL_RDB_Login)(Arg(invocation, 0), Arg(invocation, 1), token, &userId);
  const std::string id = std::to_string(userId);
  return Report(code, {{"token", token}, {"user id", id.c_str()}});
}

// Both checks share the export's signature and calling convention.
using ExistsCheck = decltype(&VEL_RDB_UserNameExists);

int Exists(const Invocation& invocation, ExistsCheck check) {
  int exists = 0;
  const int code = check(Arg(invocation, 0), &exists);
  return Report(code, {{"exists", exists != 0 ? "yes" : "no"}});
}

int UserNameExists(const Invocation& invocation) {
  return Exists(invocation, VELINST_CLI_EXPORT(invocation, VEL_RDB_UserNameExists));
}

int EmailAddressExists(const Invocation& invocation) {
  return Exists(invocation, VELINST_CLI_EXPORT(invocation, VEL_RDB_EmailAddressExists));
}

int UserCount(const Invocation& invocation) {
  int count = 0;
  const int code = VELINST_CLI_EXPORT(invocation, VEL_RDB_GetUserCount)(Arg(invocation, 0), Arg(invocation, 1), &count);
  const std::string text = std::to_string(count);
  return Report(code, {{"users", text.c_str()}});
}

int UserId(const Invocation& invocation) {
  int userId = 0;
  const int code = VELINST_CLI_EXPORT(invocation, VEL_RDB_GetUserID)(Arg(invocation, 0), Arg(invocation, 1),
                                                                     Number(invocation, 2), &userId);
  const std::string text = std::to_string(userId);
  return Report(code, {{"user id", text.c_str()}});
}

int AccountDetails(const Invocation& invocation) {
  Text name = {}, email = {}, phone = {};
  int accountId = 0;
  const int code = VELINST_CLI_EXPORT(invocation, VEL_RDB_GetAccount)(Arg(invocation, 0), Arg(invocation, 1), name,
                                                                      email, phone, &accountId);
  const std::string id = std::to_string(accountId);
  return Report(code,
                {{"account id", id.c_str()}, {"contact", name}, {"contact e-mail", email}, {"contact phone", phone}});
}

int FindAccount(const Invocation& invocation) {
  int accountId = 0;
  const int code =
      VELINST_CLI_EXPORT(invocation, VEL_RDB_FindAccount)(Arg(invocation, 0), 0, Arg(invocation, 1), &accountId);
  const std::string id = std::to_string(accountId);
  return Report(code, {{"account id", id.c_str()}});
}

int UserInfo(const Invocation& invocation) {
  Text first = {}, last = {}, user = {}, email = {}, phone = {};
  const int code = VELINST_CLI_EXPORT(invocation, VEL_RDB_GetUserInfo)(Arg(invocation, 0), Number(invocation, 1), first,
                                                                       last, user, email, phone);
  return Report(code,
                {{"first name", first}, {"last name", last}, {"user name", user}, {"e-mail", email}, {"phone", phone}});
}

int SetUserInfo(const Invocation& invocation) {
  const int code = VELINST_CLI_EXPORT(invocation, VEL_RDB_SetUserInfo)(
      Arg(invocation, 0), Number(invocation, 1), Arg(invocation, 2), Arg(invocation, 3), Arg(invocation, 4),
      Arg(invocation, 5), Number(invocation, 6), Number(invocation, 7));
  return Report(code);
}

int CreateAccount(const Invocation& invocation) {
  Text token = {};
  const int code = VELINST_CLI_EXPORT(invocation, VEL_RDB_CreateUserAccount)(
      Arg(invocation, 0), Arg(invocation, 1), Arg(invocation, 2), Arg(invocation, 3), Arg(invocation, 4),
      Arg(invocation, 5), Arg(invocation, 6), Arg(invocation, 7), Arg(invocation, 8), Arg(invocation, 9),
      Arg(invocation, 10), Arg(invocation, 11), Arg(invocation, 12), Arg(invocation, 13), Arg(invocation, 14),
      Arg(invocation, 15), Arg(invocation, 16), token);
  return Report(code, {{"token", token}});
}

const CommandRegistration kRegistrations[] = {
    CommandRegistration(
        {"rdb-login", "USER PASSWORD", "sign a user in to the account service", "VEL_RDB_Login", 2, 2, Login}),
    CommandRegistration(
        {"rdb-user-exists", "USER", "whether a user name is taken", "VEL_RDB_UserNameExists", 1, 1, UserNameExists}),
    CommandRegistration({"rdb-email-exists", "ADDRESS", "whether an e-mail address is taken",
                         "VEL_RDB_EmailAddressExists", 1, 1, EmailAddressExists}),
    CommandRegistration({"rdb-user-count", "TOKEN PRODUCT", "number of users of a product's account",
                         "VEL_RDB_GetUserCount", 2, 2, UserCount}),
    CommandRegistration({"rdb-user-id", "TOKEN PRODUCT INDEX", "id of a user of a product's account",
                         "VEL_RDB_GetUserID", 3, 3, UserId}),
    CommandRegistration({"rdb-account", "TOKEN PRODUCT", "contact and id of a product's account", "VEL_RDB_GetAccount",
                         2, 2, AccountDetails}),
    CommandRegistration(
        {"rdb-find-account", "TOKEN PRODUCT", "id of a product's account", "VEL_RDB_FindAccount", 2, 2, FindAccount}),
    CommandRegistration({"rdb-user-info", "TOKEN USERID", "a user's names, e-mail address and phone",
                         "VEL_RDB_GetUserInfo", 2, 2, UserInfo}),
    CommandRegistration({"rdb-set-user-info", "TOKEN USERID FIRST LAST EMAIL PHONE NEWSLETTER UPDATES",
                         "change a user's details (flags 0 or 1)", "VEL_RDB_SetUserInfo", 8, 8, SetUserInfo}),
    CommandRegistration({"rdb-create-account",
                         "TOKEN PRODUCT USER PASSWORD NAME ADDRESS1 ADDRESS2 CITY STATE ZIP CONTACT CONTACT-EMAIL "
                         "CONTACT-PHONE FIRST LAST EMAIL PHONE",
                         "create a product's account with its administrating user", "VEL_RDB_CreateUserAccount", 17, 17,
                         CreateAccount}),
};

}  // namespace
}  // namespace velinst::cli
