// The "S3" group: short-lived storage credentials for a signed-in user.
// The stand-in has no storage behind them; they are well-formed and random.
#include "method_table.h"
#include "random_bytes.h"
#include "service_clock.h"

namespace velinst::service {
namespace {

constexpr std::int64_t kCredentialLifetime = 3600;

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

void GetTemporaryCredentials(MethodContext& context) {
  context.AuthenticateUser();
  AnswerWriter& answer = context.Answer();
  answer.Open("Credentials");
  answer.Element("AccessKeyId", "ASIA" + Upper(RandomHex(8)));
  answer.Element("SecretAccessKey", RandomHex(20));
  answer.Element("SessionToken", RandomHex(64));
  answer.Element("Expiration", FormatTimestamp(context.Now() + kCredentialLifetime));
  answer.Close();
}

constexpr MethodEntry kMethods[] = {
    {"S3.GetTemporaryCredentials", GetTemporaryCredentials},
};

}  // namespace

std::span<const MethodEntry> StorageCredentialMethods() { return kMethods; }

}  // namespace velinst::service
