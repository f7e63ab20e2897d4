// A user's new password, as ChangePassword and SetPassword set it.
#pragma once

#include <cstdint>
#include <string>

#include "method_context.h"

namespace velinst::service {

// Sets `password` (checked, in the stored form) unless the user has it
// already. A different password ends the user's other sign-ins: every
// token of the user but the one of this request. Setting the password the
// user has changes nothing (an account creation signs an existing user in
// and then sets that same password).
void ChangeUserPassword(MethodContext& context, std::int64_t userId, const std::string& password);

}  // namespace velinst::service
