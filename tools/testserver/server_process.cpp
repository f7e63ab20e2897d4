#include "server_process.h"

#include <fcntl.h>
#include <httplib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "answer_script.h"

namespace velinst::testserver {
namespace {

// The write end of the pipe the waiting caller reads; -1 when not detached.
int startupPipe = -1;

}  // namespace

bool WritePortFile(const std::string& path, int port) {
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::trunc);
    out << port << "\n";
    if (!out) return false;
  }
  return std::rename(temporary.c_str(), path.c_str()) == 0;
}

int StopServer(const std::string& portFile) {
  std::ifstream in(portFile);
  int port = 0;
  if (!(in >> port)) return 0;  // nothing running
  httplib::Client client("127.0.0.1", port);
  client.Post(kControlQuitPath);
  std::remove(portFile.c_str());
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
