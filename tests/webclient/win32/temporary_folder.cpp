#include <windows.h>

#include "temporary_folder.h"

namespace velinst::test {

namespace {
// GetTempPathA takes TMP before TEMP.
constexpr const char* kVariable = "TMP";
}  // namespace

TemporaryFolderRedirect::TemporaryFolderRedirect(const std::string& folder) {
  char value[MAX_PATH + 1] = {};
  const DWORD length = ::GetEnvironmentVariableA(kVariable, value, sizeof value);
  if (length > 0 && length < sizeof value) {
    saved_ = value;
    hadValue_ = true;
  }
  ::SetEnvironmentVariableA(kVariable, folder.c_str());
}

TemporaryFolderRedirect::~TemporaryFolderRedirect() {
  ::SetEnvironmentVariableA(kVariable, hadValue_ ? saved_.c_str() : nullptr);
}

}  // namespace velinst::test
