// What the request log of the control path may keep. Anyone who reads the
// log must not learn a credential from it: auth tokens, passwords, and the
// encrypted parameters (whoever holds the library can decrypt those) are
// replaced by kWithheld.
#pragma once

#include <string>
#include <string_view>

namespace velinst::service {

inline constexpr std::string_view kWithheld = "(withheld)";

// A request target (path and query) with the values of the secret
// parameters withheld, and with them whatever followed them up to the next
// parameter.
std::string WithheldTarget(std::string_view target);

// A posted document with the text of every Password element withheld.
std::string WithheldBody(std::string_view body);

}  // namespace velinst::service
