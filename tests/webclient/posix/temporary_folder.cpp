#include "temporary_folder.h"

#include <cstdlib>

namespace velinst::test {

constexpr const char* kVariable = "TMPDIR";

TemporaryFolderRedirect::TemporaryFolderRedirect(const std::string& folder) {
  const char* value = std::getenv(kVariable);
  hadValue_ = value != nullptr;
  saved_ = hadValue_ ? value : "";
  ::setenv(kVariable, folder.c_str(), 1);
}

TemporaryFolderRedirect::~TemporaryFolderRedirect() {
  hadValue_ ? ::setenv(kVariable, saved_.c_str(), 1) : ::unsetenv(kVariable);
}

}  // namespace velinst::test
