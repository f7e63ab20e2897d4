#include "platform/system_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/file_operations.h"

namespace velinst::platform {

namespace {

void AddResolved(std::vector<std::string>& folders, const char* path) {
  char full[4096];
  if (path != nullptr && *path != '\0' && FullPath(path, full, sizeof full)) folders.emplace_back(full);
}

}  // namespace

std::vector<std::string> SystemFolders() {
  static const char* const kTopLevel[] = {"/",    "/bin",  "/boot", "/dev", "/etc", "/home",
                                          "/lib", "/proc", "/root", "/sys", "/usr", "/var"};
  std::vector<std::string> folders;
  // Both forms: /lib, for one, is a link to /usr/lib on merged systems.
  for (const char* folder : kTopLevel) {
    folders.emplace_back(folder);
    AddResolved(folders, folder);
  }
  AddResolved(folders, std::getenv("HOME"));
  if (const passwd* account = ::getpwuid(::getuid())) AddResolved(folders, account->pw_dir);
  return folders;
}

}  // namespace velinst::platform
