#include "server_process.h"

#include <fcntl.h>
#include <httplib.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "answer_script.h"

namespace velinst::testserver {
namespace {

// The write end of the pipe the waiting caller reads; -1 when not detached.
int startupPipe = -1;

// Whether `pid` still runs. A detached server is nobody's child, and an
// init that does not reap leaves it a zombie: that counts as ended.
bool Running(pid_t pid) {
  if (kill(pid, 0) != 0) return false;
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return false;
  const std::size_t end = line.rfind(')');
  return end == std::string::npos || end + 2 >= line.size() || line[end + 2] != 'Z';
}

}  // namespace

bool WritePortFile(const std::string& path, int port) {
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::trunc);
    out << port << "\n" << getpid() << "\n";
    if (!out) return false;
  }
  return std::rename(temporary.c_str(), path.c_str()) == 0;
}

bool WriteSecretFile(const std::string& path, const std::string& secret) {
  std::remove(path.c_str());  // a file left by someone else keeps its owner and mode
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const std::string line = secret + "\n";
  const bool written = write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
  return close(fd) == 0 && written;
}

int StopServer(const std::string& portFile, StopBy how) {
  std::ifstream in(portFile);
  int port = 0;
  if (!(in >> port)) return 0;  // nothing running
  pid_t pid = 0;
  if (!(in >> pid)) pid = 0;
  if (how == StopBy::kSignal) {
    if (pid > 0) kill(pid, SIGTERM);
  } else {
    httplib::Client client("127.0.0.1", port);
    client.Post(kControlQuitPath);
  }
  std::remove(portFile.c_str());
  constexpr auto kStep = std::chrono::milliseconds(20);
  for (int waited = 0; pid > 0 && waited < 500 && Running(pid); ++waited) std::this_thread::sleep_for(kStep);
  return 0;
}

void DetachFromCaller() {
  std::fflush(nullptr);
  int ends[2];
  if (pipe(ends) != 0) std::_Exit(1);
  if (fork() != 0) {
    close(ends[1]);
    char started = 0;
    ssize_t got = 0;
    do {
      got = read(ends[0], &started, 1);
    } while (got < 0 && errno == EINTR);
    std::_Exit(got == 1 ? 0 : 1);
  }
  close(ends[0]);
  startupPipe = ends[1];
  setsid();
}

void StartupDone() {
  if (startupPipe < 0) return;
  std::fflush(nullptr);
  const int null = open("/dev/null", O_RDWR);
  dup2(null, STDIN_FILENO);
  dup2(null, STDOUT_FILENO);
  dup2(null, STDERR_FILENO);
  if (null > STDERR_FILENO) close(null);
  const char started = 1;
  [[maybe_unused]] const ssize_t written = write(startupPipe, &started, 1);
  close(startupPipe);
  startupPipe = -1;
}

}  // namespace velinst::testserver
