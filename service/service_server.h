// The account service on HTTP: the service path goes to AccountService,
// every other path answers 404 with an error document. The scripted test
// server's control path is there for the tests when opened with a secret
// (answers scripted per method come before the service's own); its request
// log withholds credentials. Every answer carries the content type
// "text/xml; charset=utf-8" and the reply-protocol header "Pragma:
// status=OK": a "status=ERROR" would make the client drop the body.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "account_service.h"
#include "scripted_server.h"

namespace velinst::service {

// Requests with a larger body are refused (RequestTooLargeException).
inline constexpr std::size_t kMaxRequestBody = 16 * 1024 * 1024;
// Connections served at once, and how long a kept-alive one may sit idle.
// Installers and tests keep their connections alive, and each open one
// holds a thread until it closes: twice the 64 clients the service is sized
// for, so none waits for another's idle connection, and beyond that a
// client waits at most the idle time.
inline constexpr std::size_t kConnectionThreads = 128;
inline constexpr std::chrono::seconds kKeepAliveIdle{5};
// Requests the control path keeps for reading back.
inline constexpr std::size_t kLoggedRequests = 256;
// The offset of the service's clock from the system's, in seconds:
// "/_control/clock" answers it, "/_control/clock?offset=SECONDS" sets it.
// Setting rather than adding, so a request the client repeats does no harm.
inline constexpr const char* kControlClockPath = "/_control/clock";

class ServiceServer {
 public:
  explicit ServiceServer(AccountService& service);
  ServiceServer(const ServiceServer&) = delete;
  ServiceServer& operator=(const ServiceServer&) = delete;

  // The port bound on `host` (a free one for 0), or -1.
  int Bind(const std::string& host, int port);
  // The control path is closed until this opens it for requests that carry
  // `secret`.
  void RequireControlSecret(std::string secret) { server_.RequireControlSecret(std::move(secret)); }
  void Run(std::chrono::seconds idleExit);
  void Stop() { server_.Stop(); }

 private:
  bool Serve(const httplib::Request& request, httplib::Response& response);
  bool Control(const httplib::Request& request, httplib::Response& response);

  AccountService& service_;
  testserver::ScriptedServer server_;
};

}  // namespace velinst::service
