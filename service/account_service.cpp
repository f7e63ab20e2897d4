#include "account_service.h"

#include <cstdio>
#include <stdexcept>

#include "account_rules.h"
#include "answer_writer.h"
#include "caller.h"
#include "encrypted_parameters.h"
#include "method_context.h"
#include "method_table.h"
#include "password_hash.h"
#include "password_work.h"
#include "posted_document.h"
#include "service_error.h"
#include "service_schema.h"
#include "text_form.h"

namespace velinst::service {
namespace {

constexpr const char* kEncryptedData = "encryptedData";
constexpr const char* kEncryptedDeviceInfo = "encryptedDeviceInfo";
constexpr const char* kServiceFailed = "The service failed";
// No method needs more hashes or verifications than this in one request.
constexpr int kMaxHashingRounds = 8;

// The request as the method sees it: encrypted parameters decrypted and
// merged, and the method's demand for encryption met.
ServiceRequest ReadRequest(std::string_view query, std::string body, std::string remoteAddress,
                           const MethodEntry*& entry) {
  ServiceRequest request;
  request.parameters = QueryParameters::FromQuery(query);
  const std::string* method = request.parameters.Find("method");
  if (method == nullptr || method->empty()) throw ServiceError(error_type::kRequest, "The request names no method");
  entry = FindMethod(*method);
  if (entry == nullptr) throw ServiceError(error_type::kRequest, "The service has no method " + *method);
  request.method = std::string(entry->name);

  for (const char* name : {kEncryptedData, kEncryptedDeviceInfo}) {
    const std::string* encrypted = request.parameters.Find(name);
    if (encrypted == nullptr) continue;
    const auto decrypted = DecryptParameters(*encrypted);
    if (!decrypted) throw ServiceError(error_type::kParameter, std::string(name) + " does not decrypt");
    request.parameters.Merge(*decrypted);
    (name == kEncryptedData ? request.encryptedData : request.encryptedDeviceInfo) = true;
  }
  if (entry->encryption == Encryption::kData && !request.encryptedData)
    throw ServiceError(error_type::kParameter, "The method's parameters must arrive in encryptedData");
  if (entry->encryption == Encryption::kDeviceInfo && !request.encryptedDeviceInfo)
    throw ServiceError(error_type::kParameter, "The method's parameters must arrive in encryptedDeviceInfo");

  request.body = std::move(body);
  request.remoteAddress = std::move(remoteAddress);
  return request;
}

}  // namespace

bool IsServicePath(std::string_view path) {
  if (!path.empty() && path.front() == '/') path.remove_prefix(1);
  return EqualsIgnoringCase(path, kServicePath);
}

AccountService::AccountService(const std::string& databasePath, ServiceSettings settings)
    : database_(databasePath), settings_(settings) {
  InitializeXmlParser();
  PrepareSchema(database_);
}

ServiceAnswer AccountService::Handle(std::string_view query, std::string body, std::string remoteAddress) {
  try {
    const MethodEntry* entry = nullptr;
    const ServiceRequest request = ReadRequest(query, std::move(body), std::move(remoteAddress), entry);
    PasswordWork passwords(settings_.hashIterations);
    for (int round = 0;; ++round) {
      try {
        const std::lock_guard lock(lock_);
        Transaction transaction(database_);
        MethodContext context(database_, settings_, clock_.Now(), request, passwords);
        entry->handler(context);
        std::string answer = context.Answer().Finish();
        transaction.Commit();
        return {200, std::move(answer)};
      } catch (const HashingNeeded& needed) {
        // The lock is released and the transaction rolled back here.
        if (round == kMaxHashingRounds) throw std::runtime_error("a method asked for too many password hashes");
        passwords.Do(needed);
      }
    }
  } catch (const ServiceError& error) {
    return {200, ErrorAnswer(error.Type(), error.what())};
  } catch (const std::exception& error) {
    // The reason (a database message, say) is for the operator's log only:
    // it tells a client about the service's inside.
    std::fprintf(stderr, "velinst-service: request failed: %s\n", error.what());
    return {500, ErrorAnswer(error_type::kService, kServiceFailed)};
  } catch (...) {
    std::fprintf(stderr, "velinst-service: request failed\n");
    return {500, ErrorAnswer(error_type::kService, kServiceFailed)};
  }
}

void AccountService::EnsureAdministrator(std::string_view userName, std::string_view password) {
  const std::string name = EscapeMarkup(userName);
  const std::string secret = EscapeMarkup(password);
  CheckUserNameFormat(name);
  CheckPasswordFormat(secret);
  const std::string hash = HashPassword(secret, settings_.hashIterations);
  const std::lock_guard lock(lock_);
  Transaction transaction(database_);
  auto userId = database_.Integer("SELECT id FROM users WHERE user_name = ?", name);
  if (userId) {
    database_.Run("UPDATE users SET password_hash = ?, account_id = NULL WHERE id = ?", hash, *userId);
  } else {
    database_.Run("INSERT INTO users (user_name, password_hash, created) VALUES (?, ?, ?)", name, hash, clock_.Now());
    userId = database_.LastInsertId();
  }
  database_.Run("INSERT OR IGNORE INTO roles (user_id, role) VALUES (?, ?)", *userId, kAccountAdminRole);
  transaction.Commit();
}

}  // namespace velinst::service
