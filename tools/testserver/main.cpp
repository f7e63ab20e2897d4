// velinst_testserver: the scripted HTTP server of the tests, on loopback.
//   velinst_testserver --port-file FILE [--port N] [--detach] [--idle-exit SECONDS]
//   velinst_testserver --stop --port-file FILE
// With --detach it returns once the port is written to FILE and serves on in
// the background (a ctest fixture); --stop ends such a server.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "scripted_server.h"

namespace {

struct Options {
  std::string portFile;
  int port = 0;
  bool detach = false;
  bool stop = false;
  long idleExitSeconds = 0;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    const bool hasValue = i + 1 < argc;
    if (option == "--port-file" && hasValue)
      options.portFile = argv[++i];
    else if (option == "--port" && hasValue)
      options.port = std::atoi(argv[++i]);
    else if (option == "--idle-exit" && hasValue)
      options.idleExitSeconds = std::atol(argv[++i]);
    else if (option == "--detach")
      options.detach = true;
    else if (option == "--stop")
      options.stop = true;
    else
      return false;
  }
  return !options.portFile.empty() || (!options.stop && !options.detach);
}

// Written whole under a temporary name first, so a reader never sees half.
bool WritePortFile(const std::string& path, int port) {
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::trunc);
    out << port << "\n";
    if (!out) return false;
  }
  return std::rename(temporary.c_str(), path.c_str()) == 0;
}

int Stop(const std::string& portFile) {
  std::ifstream in(portFile);
  int port = 0;
  if (!(in >> port)) return 0;  // nothing running
  httplib::Client client("127.0.0.1", port);
  client.Post(velinst::testserver::kControlQuitPath);
  std::remove(portFile.c_str());
  return 0;
}

void DetachFromCaller() {
  if (fork() != 0) std::_Exit(0);
  setsid();
  // ctest waits for the output pipes to close, not for the process.
  const int null = open("/dev/null", O_RDWR);
  dup2(null, STDIN_FILENO);
  dup2(null, STDOUT_FILENO);
  dup2(null, STDERR_FILENO);
  if (null > STDERR_FILENO) close(null);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: velinst_testserver --port-file FILE [--port N] [--detach] [--idle-exit SECONDS]\n"
                 "       velinst_testserver --stop --port-file FILE\n");
    return 2;
  }
  if (options.stop) return Stop(options.portFile);
  signal(SIGPIPE, SIG_IGN);

  velinst::testserver::ScriptedServer server;
  const int port = server.Bind("127.0.0.1", options.port);
  if (port <= 0) {
    std::fprintf(stderr, "velinst_testserver: cannot bind a port\n");
    return 1;
  }
  std::fflush(nullptr);
  if (options.detach) DetachFromCaller();
  if (!options.portFile.empty() && !WritePortFile(options.portFile, port)) return 1;
  if (!options.detach) std::printf("listening on 127.0.0.1:%d\n", port), std::fflush(stdout);
  server.Run(std::chrono::seconds(options.idleExitSeconds));
  return 0;
}
