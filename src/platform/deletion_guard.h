// Folders that a tree deletion refuses to touch.
#pragma once

#include <string>
#include <vector>

namespace velinst {

// The decision of one tree deletion. The platform's system folders are
// resolved once, when the guard is made, not at every level of the walk:
// resolving them asks the account database, which costs a lookup per call.
class DeletionGuard {
 public:
  DeletionGuard();

  // `path` has had one trailing separator removed. True for: the empty text
  // (the root of the current drive), "." and "..", a drive root in either
  // letter case, one of the protected names of Windows' own folders (the
  // whole text, or the full path as the drive root and that name), and the
  // platform's system folders.
  bool Refuses(const char* path) const;

 private:
  std::vector<std::string> systemFolders_;
};

}  // namespace velinst
