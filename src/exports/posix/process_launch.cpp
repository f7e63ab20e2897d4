#include "exports/process_launch.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "exports/command_line.h"

extern char** environ;

namespace velinst::platform {

namespace {

std::vector<char*> ArgumentPointers(std::vector<std::string>& arguments) {
  std::vector<char*> pointers;
  pointers.reserve(arguments.size() + 1);
  for (auto& argument : arguments) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Starts the arguments' program; errno is set from the start's error.
bool Spawn(std::vector<std::string>& arguments, pid_t& child) {
  if (arguments.empty() || arguments[0].empty()) {
    errno = ENOENT;
    return false;
  }
  std::vector<char*> argv = ArgumentPointers(arguments);
  const int error = ::posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ);
  if (error != 0) {
    errno = error;
    return false;
  }
  return true;
}

int WaitFor(pid_t child) {
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

// Starts a program that nobody waits for: an intermediate child starts it and
// ends at once, so the program is adopted by init and never left a zombie.
// The intermediate's exit status carries the start's error back.
bool SpawnDetached(std::vector<std::string> arguments) {
  std::vector<char*> argv = ArgumentPointers(arguments);
  const pid_t intermediate = ::fork();
  if (intermediate < 0) return false;
  if (intermediate == 0) {
    pid_t grandchild = 0;
    const int error = ::posix_spawnp(&grandchild, argv[0], nullptr, nullptr, argv.data(), environ);
    ::_exit(error);
  }
  const int status = WaitFor(intermediate);
  const int error = WIFEXITED(status) ? WEXITSTATUS(status) : ECHILD;
  if (error != 0) {
    errno = error;
    return false;
  }
  return true;
}

bool IsExecutableFile(const char* path) {
  struct stat info {};
  return ::stat(path, &info) == 0 && S_ISREG(info.st_mode) && ::access(path, X_OK) == 0;
}

}  // namespace

bool RunAndWait(const std::string& commandLine) {
  std::vector<std::string> arguments = SplitCommandLine(commandLine);
  pid_t child = 0;
  if (!Spawn(arguments, child)) return false;
  WaitFor(child);
  return true;
}

bool OpenWithShell(const char* file, const char* parameters) {
  if (file == nullptr || *file == '\0') {
    errno = ENOENT;
    return false;
  }
  if (IsExecutableFile(file)) {
    // The parameters follow the program as the Windows runtime would split them.
    std::string line = "\"\" ";
    line += parameters != nullptr ? parameters : "";
    std::vector<std::string> arguments = SplitCommandLine(line);
    arguments[0] = file;
    return SpawnDetached(std::move(arguments));
  }
  // Documents and URLs go to the desktop's opener; a missing document is
  // refused here, as the shell refuses it.
  struct stat info {};
  if (std::strstr(file, "://") == nullptr && std::strncmp(file, "mailto:", 7) != 0 && ::stat(file, &info) != 0)
    return false;
  return SpawnDetached({"xdg-open", file});
}

}  // namespace velinst::platform
