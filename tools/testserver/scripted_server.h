// A loopback HTTP server that answers from an AnswerScript and logs what it
// receives. Tests drive it through control requests under "/_control/";
// other servers (the account-service stand-in) put their own responder
// behind the script.
#pragma once

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>

#include "answer_script.h"
#include "request_log.h"

namespace velinst::testserver {

class ScriptedServer {
 public:
  // Answers a request the script has nothing for; false leaves the default
  // answer (404).
  using Responder = std::function<bool(const httplib::Request&, httplib::Response&)>;

  ScriptedServer();
  ScriptedServer(const ScriptedServer&) = delete;
  ScriptedServer& operator=(const ScriptedServer&) = delete;

  // Binds to a free port (or `port`) on `host`; the port, or -1.
  int Bind(const std::string& host, int port = 0);
  // Serves until Stop or, when `idleExit` is not zero, until no request came
  // for that long.
  void Run(std::chrono::seconds idleExit = std::chrono::seconds(0));
  void Stop();

  void SetResponder(Responder responder) { responder_ = std::move(responder); }
  AnswerScript& Script() { return script_; }
  RequestLog& Log() { return log_; }

 private:
  void Serve(const httplib::Request& request, httplib::Response& response);
  void Control(const httplib::Request& request, httplib::Response& response);
  void Answer(const ScriptedAnswer& answer, const httplib::Request& request, httplib::Response& response);
  void Touch();

  httplib::Server server_;
  AnswerScript script_;
  RequestLog log_;
  Responder responder_;
  std::atomic<std::int64_t> lastRequest_{0};
};

}  // namespace velinst::testserver
