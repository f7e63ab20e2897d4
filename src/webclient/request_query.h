// The query part of a service request.
#pragma once

#include <string>
#include <string_view>

#include "webclient/parameter_list.h"

namespace velinst {

// Encryption modes of a call: the parameters travel as they are, or
// encrypted into one "encryptedDeviceInfo" (device descriptions) or
// "encryptedData" parameter (credentials; every other non-zero mode).
inline constexpr int kRKPlain = 0;
inline constexpr int kRKEncryptedDeviceInfo = 1;
inline constexpr int kRKEncryptedData = 2;

// "&name=value" for each parameter in list order.
std::string QueryText(const CRKParameterList& parameters);

// The query that replaces `plain` in a non-zero mode: the parameter of the
// mode whose value is the percent-encoded Base64 text of the encrypted
// query. False when the query cannot be encrypted.
bool EncryptedQuery(std::string_view plain, int mode, std::string& query);

}  // namespace velinst
