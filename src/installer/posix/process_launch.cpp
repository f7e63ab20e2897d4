#include "installer/process_launch.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "installer/command_line.h"

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

bool IsExecutableFile(const char* path) {
  struct stat info {};
  return ::stat(path, &info) == 0 && S_ISREG(info.st_mode) && ::access(path, X_OK) == 0;
}

// The program a bare name such as "xdg-open" stands for, searched on PATH
// as the shell searches it; empty when there is none.
std::string FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string_view folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    const std::size_t end = folders.find(':');
    std::string candidate(folders.substr(0, end));
    candidate += candidate.empty() ? "./" : "/";
    candidate += name;
    if (IsExecutableFile(candidate.c_str())) return candidate;
    if (end == std::string_view::npos) return {};
    folders.remove_prefix(end + 1);
  }
}

// Starts `program` with `arguments` where nobody waits for it: an
// intermediate child starts it and ends at once, so the program is adopted
// by init and never left a zombie. The caller may have other threads, so
// between fork and exec only async-signal-safe calls are made; everything
// they need is prepared before. The intermediate's exit status carries a
// failed fork's error back; a pipe that a successful exec closes carries the
// exec's.
bool SpawnDetached(const std::string& program, std::vector<std::string> arguments) {
  std::vector<char*> argv = ArgumentPointers(arguments);
  int startError[2];
  if (::pipe2(startError, O_CLOEXEC) != 0) return false;
  const pid_t intermediate = ::fork();
  if (intermediate == 0) {
    ::close(startError[0]);
    const pid_t grandchild = ::fork();
    if (grandchild == 0) {
      ::execve(program.c_str(), argv.data(), environ);
      const int error = errno;
      [[maybe_unused]] const ssize_t written = ::write(startError[1], &error, sizeof error);
      ::_exit(127);
    }
    ::_exit(grandchild < 0 ? errno : 0);
  }
  ::close(startError[1]);
  if (intermediate < 0) {
    const int error = errno;
    ::close(startError[0]);
    errno = error;
    return false;
  }
  const int status = WaitFor(intermediate);
  int error = WIFEXITED(status) ? WEXITSTATUS(status) : ECHILD;
  if (error == 0) {
    // Ends when the exec succeeded (end of file) or failed (its error).
    int execError = 0;
    ssize_t got;
    while ((got = ::read(startError[0], &execError, sizeof execError)) < 0 && errno == EINTR) {
    }
    if (got == sizeof execError) error = execError;
  }
  ::close(startError[0]);
  if (error != 0) {
    errno = error;
    return false;
  }
  return true;
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
    return SpawnDetached(file, std::move(arguments));
  }
  // Documents and URLs go to the desktop's opener; a missing document is
  // refused here, as the shell refuses it.
  struct stat info {};
  if (std::strstr(file, "://") == nullptr && std::strncmp(file, "mailto:", 7) != 0 && ::stat(file, &info) != 0)
    return false;
  const std::string opener = FindOnPath("xdg-open");
  if (opener.empty()) {
    errno = ENOENT;
    return false;
  }
  return SpawnDetached(opener, {"xdg-open", file});
}

}  // namespace velinst::platform
