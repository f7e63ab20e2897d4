#include "withheld_secrets.h"

#include <algorithm>
#include <cctype>

#include "query_parameters.h"
#include "text_form.h"

namespace velinst::service {
namespace {

constexpr std::string_view kSecretParameters[] = {"authToken",   "password",      "oldPassword",
                                                  "newPassword", "encryptedData", "encryptedDeviceInfo"};

bool IsSecretParameter(std::string_view name) {
  const std::string decoded = PercentDecode(name);
  return std::any_of(std::begin(kSecretParameters), std::end(kSecretParameters),
                     [&](std::string_view secret) { return EqualsIgnoringCase(decoded, secret); });
}

std::string Lowered(std::string_view text) {
  std::string lowered(text);
  std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lowered;
}

}  // namespace

std::string WithheldTarget(std::string_view target) {
  const std::size_t question = target.find('?');
  if (question == std::string_view::npos) return std::string(target);
  std::string out(target.substr(0, question + 1));
  std::string_view query = target.substr(question + 1);
  bool withholding = false;
  bool first = true;
  while (true) {
    const std::size_t end = std::min(query.find('&'), query.size());
    const std::string_view piece = query.substr(0, end);
    const std::size_t equals = piece.find('=');
    // A piece without "=" may be the rest of a value ("&amp;" taken for a
    // separator): it goes with the parameter before it.
    if (equals != std::string_view::npos) withholding = IsSecretParameter(piece.substr(0, equals));
    if (!withholding || equals != std::string_view::npos) {
      if (!first) out += '&';
      out += withholding ? std::string(piece.substr(0, equals + 1)) + std::string(kWithheld) : std::string(piece);
      first = false;
    }
    if (end == query.size()) break;
    query.remove_prefix(end + 1);
  }
  return out;
}

std::string WithheldBody(std::string_view body) {
  static constexpr std::string_view kOpen = "<password>", kClose = "</password>";
  const std::string lowered = Lowered(body);
  std::string out;
  std::size_t at = 0;
  while (true) {
    const std::size_t open = lowered.find(kOpen, at);
    if (open == std::string::npos) break;
    const std::size_t text = open + kOpen.size();
    const std::size_t close = lowered.find(kClose, text);
    out.append(body.substr(at, text - at)).append(kWithheld);
    at = close == std::string::npos ? body.size() : close;
  }
  out.append(body.substr(at));
  return out;
}

}  // namespace velinst::service
