// Parameters that travel encrypted: the value of "encryptedData" or
// "encryptedDeviceInfo" is the Base64 text of the DES ciphertext of a
// parameter text "&name=value...", under the key material the library and
// the service share.
#pragma once

#include <optional>
#include <string_view>

#include "query_parameters.h"

namespace velinst::service {

// None when the text is not Base64, does not decrypt, or the plain text
// does not begin with "&".
std::optional<QueryParameters> DecryptParameters(std::string_view base64Text);

}  // namespace velinst::service
