#include <windows.h>

#include "temporary_folder.h"

namespace velinst::test {

// GetTempPathA takes TMP before TEMP.
constexpr const char* kVariable = "TMP";

TemporaryFolderRedirect::TemporaryFolderRedirect(const std::string& folder) {
  char value[MAX_PATH + 1] = {};
  const DWORD length = ::GetEnvironmentVariableA(kVariable, value, sizeof value);
  hadValue_ = length > 0 && length < sizeof value;
  saved_ = value;
  ::SetEnvironmentVariableA(kVariable, folder.c_str());
}

TemporaryFolderRedirect::~TemporaryFolderRedirect() {
  ::SetEnvironmentVariableA(kVariable, hadValue_ ? saved_.c_str() : nullptr);
}

}  // namespace velinst::test
