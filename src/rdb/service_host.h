// Where the account exports find the account web service.
#pragma once

#include <string>

#include "webclient/rk.h"

namespace velinst {

// The machine-wide key whose default (unnamed) value names the service
// host ("name" or "name:port").
inline constexpr const char* kServiceHostKey =
    "Software\\Corvane\\Ridgeline Professional\\6.00\\URL\\RidgelineMobile\\server";

// The deployment's service host, fixed when the library is built.
inline constexpr const char* kDefaultServiceHost = CRK::kDefaultHost;

// The host in the key's default value, else `defaultHost` (also when the
// value is empty or does not fit its 256-byte buffer).
std::string ReadServiceHost(const char* defaultHost);

}  // namespace velinst
