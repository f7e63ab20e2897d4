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
  // The control path is open to every local process until one of these:
  // closed, "/_control/" is an ordinary path; with a secret, a control
  // request without it (kControlSecretParameter) is refused with 403.
  void CloseControl() { control_ = ControlAccess::kClosed; }
  void RequireControlSecret(std::string secret) {
    controlSecret_ = std::move(secret);
    control_ = ControlAccess::kSecret;
  }
  // Edits each request before the log keeps it (to withhold secrets).
  void SetLogFilter(std::function<void(LoggedRequest&)> filter) { logFilter_ = std::move(filter); }
  // Answers control requests other than the script's and log's own; false
  // leaves the default answer (400).
  void SetControlResponder(Responder responder) { controlResponder_ = std::move(responder); }
  // Sees every answer of status 400 and above before it goes out, those of
  // the HTTP layer itself (an oversized or malformed request) included.
  void SetErrorResponder(Responder responder);
  // How many connections are served at once (each holds a thread while it
  // is open), and how long a kept-alive connection may sit idle before the
  // server closes it. Set before Run.
  void SetConnectionLimits(std::size_t threads, std::chrono::seconds keepAliveIdle);
  // Requests with a larger body are refused with 413.
  void SetPayloadLimit(std::size_t bytes) { server_.set_payload_max_length(bytes); }
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
  bool ControlAllowed(const httplib::Request& request) const;

  enum class ControlAccess { kOpen, kClosed, kSecret };
  Responder responder_;
  Responder controlResponder_;
  ControlAccess control_ = ControlAccess::kOpen;
  std::string controlSecret_;
  std::function<void(LoggedRequest&)> logFilter_;
  std::atomic<std::int64_t> lastRequest_{0};
  std::size_t threads_;
};

}  // namespace velinst::testserver
