// Points the user's temporary folder, where the client writes answers, at a
// folder of the test's own.
#pragma once

#include <string>

namespace velinst::test {

class TemporaryFolderRedirect {
 public:
  explicit TemporaryFolderRedirect(const std::string& folder);
  TemporaryFolderRedirect(const TemporaryFolderRedirect&) = delete;
  TemporaryFolderRedirect& operator=(const TemporaryFolderRedirect&) = delete;
  ~TemporaryFolderRedirect();

 private:
  std::string saved_;
  bool hadValue_ = false;
};

}  // namespace velinst::test
