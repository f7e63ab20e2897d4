#include "platform/system_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
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
  // The reentrant lookup: the caller may have other threads using the
  // account database.
  const long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry{};
  passwd* account = nullptr;
  while (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &account) == ERANGE &&
         buffer.size() < (1u << 20))
    buffer.resize(buffer.size() * 2);
  if (account != nullptr) AddResolved(folders, account->pw_dir);
  return folders;
}

}  // namespace velinst::platform
