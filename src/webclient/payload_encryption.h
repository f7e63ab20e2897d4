// Encryption of a request's parameters into one query value.
#pragma once

#include <string>
#include <string_view>

namespace velinst {

// DES-CBC under the key shared with the service, then Base64. False when
// the cipher cannot be set up or refuses the text.
bool EncryptWithServiceKey(std::string_view plain, std::string& base64);

}  // namespace velinst
