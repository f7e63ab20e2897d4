// The key material the service shares with the library for encrypted
// request parameters.
#pragma once

#include <string>

namespace velinst::http {

// Eight ASCII characters, built at run time so they do not stand as one
// string in the binary.
std::string PayloadKeyMaterial();

}  // namespace velinst::http
