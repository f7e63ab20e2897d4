// velinst_testserver: the scripted HTTP server of the tests, on loopback.
//   velinst_testserver --port-file FILE [--port N] [--detach] [--idle-exit SECONDS]
//   velinst_testserver --stop --port-file FILE
// With --detach it returns once the port is written to FILE and serves on in
// the background (a ctest fixture); --stop ends such a server.
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "scripted_server.h"
#include "server_process.h"

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

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: velinst_testserver --port-file FILE [--port N] [--detach] [--idle-exit SECONDS]\n"
                 "       velinst_testserver --stop --port-file FILE\n");
    return 2;
  }
  if (options.stop) return velinst::testserver::StopServer(options.portFile);
  signal(SIGPIPE, SIG_IGN);

  velinst::testserver::ScriptedServer server;
  const int port = server.Bind("127.0.0.1", options.port);
  if (port <= 0) {
    std::fprintf(stderr, "velinst_testserver: cannot bind a port\n");
    return 1;
  }
  if (options.detach) velinst::testserver::DetachFromCaller();
  if (!options.portFile.empty() && !velinst::testserver::WritePortFile(options.portFile, port)) return 1;
  if (!options.detach) std::printf("listening on 127.0.0.1:%d\n", port), std::fflush(stdout);
  velinst::testserver::StartupDone();
  server.Run(std::chrono::seconds(options.idleExitSeconds));
  return 0;
}
