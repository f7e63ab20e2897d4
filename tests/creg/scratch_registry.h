// Where the registry tests write: on Windows a key of their own under
// HKEY_CURRENT_USER\Software (removed afterwards), on the host a store in a
// scratch folder.
#pragma once

#include <string>

namespace velinst::test {

// Points the host's store at `folder`; nothing on Windows.
void UseScratchRegistry(const std::string& folder);

}  // namespace velinst::test
