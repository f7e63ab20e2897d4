#include "temporary_folder.h"

#include <cstdlib>

namespace velinst::test {

namespace {
constexpr const char* kVariable = "TMPDIR";
}

TemporaryFolderRedirect::TemporaryFolderRedirect(const std::string& folder) {
  if (const char* value = std::getenv(kVariable); value != nullptr) {
    saved_ = value;
    hadValue_ = true;
  }
  ::setenv(kVariable, folder.c_str(), 1);
}

TemporaryFolderRedirect::~TemporaryFolderRedirect() {
  if (hadValue_)
    ::setenv(kVariable, saved_.c_str(), 1);
  else
    ::unsetenv(kVariable);
}

}  // namespace velinst::test
