// velinst-service: the account web service on this machine, for developing
// and testing an installer's account steps offline, the library's tests and
// the demo. See kServiceUsage for the command line.
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <string>
#include <thread>
#include <vector>

#include "account_service.h"
#include "answer_script.h"
#include "random_bytes.h"
#include "server_process.h"
#include "service_error.h"
#include "service_options.h"
#include "service_server.h"

namespace {

using velinst::service::ServiceOptions;

constexpr std::size_t kControlSecretBytes = 32;

// SIGINT and SIGTERM end the service between requests; they are taken by a
// thread of their own, so the handler is not a signal handler.
std::thread StopOnSignal(velinst::service::ServiceServer& server, sigset_t signals) {
  return std::thread([&server, signals] {
    int received = 0;
    sigwait(&signals, &received);
    server.Stop();
  });
}

int Serve(const ServiceOptions& options) {
  // Before the database is opened: a connection must not cross a fork.
  if (options.detach) velinst::testserver::DetachFromCaller();
  // Blocked before any thread starts, so every thread inherits the mask.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  velinst::service::AccountService service(options.database, options.settings);
  if (options.adminUser) service.EnsureAdministrator(*options.adminUser, options.adminPassword);

  velinst::service::ServiceServer server(service);
  const std::string secretFile = velinst::testserver::ControlSecretFile(options.portFile);
  if (options.control) {
    const std::string secret = velinst::service::RandomHex(kControlSecretBytes);
    // Before the port file: whoever sees the port finds the secret.
    if (!velinst::testserver::WriteSecretFile(secretFile, secret)) {
      std::fprintf(stderr, "velinst-service: cannot write %s\n", secretFile.c_str());
      return 1;
    }
    server.RequireControlSecret(secret);
  }
  const int port = server.Bind(options.host, options.port);
  if (port <= 0) {
    std::fprintf(stderr, "velinst-service: cannot listen on %s:%d\n", options.host.c_str(), options.port);
    return 1;
  }
  std::printf("velinst-service: listening on %s:%d, database %s\n", options.host.c_str(), port,
              options.database.c_str());
  if (!options.portFile.empty() && !velinst::testserver::WritePortFile(options.portFile, port)) {
    std::fprintf(stderr, "velinst-service: cannot write %s\n", options.portFile.c_str());
    return 1;
  }
  velinst::testserver::StartupDone();

  std::thread stopper = StopOnSignal(server, signals);
  server.Run(std::chrono::seconds(options.idleExitSeconds));
  if (options.control) std::remove(secretFile.c_str());
  // Whatever ended the service, the signal thread ends with it (a signal
  // it already took leaves this one pending, harmlessly).
  kill(getpid(), SIGTERM);
  stopper.join();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const velinst::service::ParsedOptions parsed =
      velinst::service::ParseServiceOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (parsed.options.help) {
    std::fputs(velinst::service::kServiceUsage, stdout);
    return 0;
  }
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "velinst-service: %s\n%s", parsed.error.c_str(), velinst::service::kServiceUsage);
    return 2;
  }
  // By signal: the control path may be closed.
  if (parsed.options.stop)
    return velinst::testserver::StopServer(parsed.options.portFile, velinst::testserver::StopBy::kSignal);
  signal(SIGPIPE, SIG_IGN);
  try {
    return Serve(parsed.options);
  } catch (const velinst::service::ServiceError& error) {
    std::fprintf(stderr, "velinst-service: --admin: %s\n", error.what());
    return 2;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "velinst-service: %s\n", error.what());
    return 1;
  }
}
