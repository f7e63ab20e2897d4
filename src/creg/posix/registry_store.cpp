#include "creg/posix/registry_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "creg/reg_script.h"
#include "platform/posix/unique_fd.h"

namespace velinst::platform {

namespace {

std::string FilePath(RegistryRoot root, const char* extension) {
  return RegistryFolder() + '/' + std::string(RootName(root)) + extension;
}

// Creates the folder and its parents, private to the user.
bool MakeFolders(const std::string& folder) {
  for (std::size_t cut = folder.find('/', 1);; cut = folder.find('/', cut + 1)) {
    const std::string part = folder.substr(0, cut);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (cut == std::string::npos) return true;
  }
}

std::uint32_t ReadAll(const std::string& path, std::string& text) {
  UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file.Valid()) return static_cast<std::uint32_t>(errno);
  char chunk[65536];
  for (;;) {
    const ssize_t got = ::read(file.Get(), chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return static_cast<std::uint32_t>(errno);
    if (got == 0) return kRegistrySuccess;
    text.append(chunk, static_cast<std::size_t>(got));
  }
}

std::uint32_t WriteAll(int file, const std::string& text) {
  for (std::size_t done = 0; done < text.size();) {
    const ssize_t wrote = ::write(file, text.data() + done, text.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote < 0) return static_cast<std::uint32_t>(errno);
    done += static_cast<std::size_t>(wrote);
  }
  return kRegistrySuccess;
}

std::uint32_t ParseTree(RegistryRoot root, const std::string& text, RegistryTree& tree) {
  std::vector<ScriptSection> sections;
  std::string error;
  if (!ParseRegistryScript(text, sections, error)) return EBADMSG;
  for (const ScriptSection& section : sections) {
    if (section.root != root) return EBADMSG;
    ApplySection(section, tree);
  }
  return kRegistrySuccess;
}

// Replaces the store file: a new file beside it, flushed, renamed over it.
std::uint32_t WriteTree(RegistryRoot root, const RegistryTree& tree) {
  const std::string path = FilePath(root, ".reg");
  const std::string fresh = FilePath(root, ".reg.new");
  UniqueFd file(::open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
  if (!file.Valid()) return static_cast<std::uint32_t>(errno);
  std::uint32_t status = WriteAll(file.Get(), FormatRegistryScript(root, tree));
  if (status == kRegistrySuccess && ::fsync(file.Get()) != 0) status = static_cast<std::uint32_t>(errno);
  if (!file.Close() && status == kRegistrySuccess) status = static_cast<std::uint32_t>(errno);
  if (status == kRegistrySuccess && ::rename(fresh.c_str(), path.c_str()) != 0)
    status = static_cast<std::uint32_t>(errno);
  if (status != kRegistrySuccess) {
    ::unlink(fresh.c_str());
    return status;
  }
  // The rename itself is durable once the folder is flushed.
  UniqueFd folder(::open(RegistryFolder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.Valid()) ::fsync(folder.Get());
  return kRegistrySuccess;
}

}  // namespace

std::string RegistryFolder() {
  if (const char* folder = std::getenv("VELINST_REGISTRY_DIR"); folder != nullptr && *folder != '\0') return folder;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config == '/')
    return std::string(config) + "/velinst/registry";
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') {
    const passwd* account = ::getpwuid(::getuid());
    home = account != nullptr ? account->pw_dir : "/";
  }
  return std::string(home) + "/.config/velinst/registry";
}

std::uint32_t ReadRegistryTree(RegistryRoot root, RegistryTree& tree) {
  std::string text;
  const std::uint32_t status = ReadAll(FilePath(root, ".reg"), text);
  if (status == ENOENT) return kRegistrySuccess;
  if (status != kRegistrySuccess) return status;
  return ParseTree(root, text, tree);
}

std::uint32_t UpdateRegistryTree(RegistryRoot root, const RegistryChange& change) {
  if (!MakeFolders(RegistryFolder())) return static_cast<std::uint32_t>(errno);
  UniqueFd lock(::open(FilePath(root, ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (!lock.Valid()) return static_cast<std::uint32_t>(errno);
  while (::flock(lock.Get(), LOCK_EX) != 0)
    if (errno != EINTR) return static_cast<std::uint32_t>(errno);
  // Closing the descriptor at the end releases the lock.
  RegistryTree tree;
  std::uint32_t status = ReadRegistryTree(root, tree);
  if (status != kRegistrySuccess) return status;
  bool changed = false;
  status = change(tree, changed);
  if (status != kRegistrySuccess || !changed) return status;
  return WriteTree(root, tree);
}

}  // namespace velinst::platform
