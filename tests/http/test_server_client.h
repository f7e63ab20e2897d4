// The tests' side of the scripted test server: finds the server the ctest
// fixture started, scripts its answers and reads back what it received.
#pragma once

#include <string>
#include <vector>

#include "answer_script.h"
#include "http/http_session.h"
#include "request_log.h"

namespace velinst::http::test {

class TestServerClient {
 public:
  // Reads the port file (by default the test server fixture's) and the
  // control secret beside it, if the server has one, and clears the
  // server's script and log.
  TestServerClient() : TestServerClient(VELINST_TESTSERVER_PORT_FILE) {}
  explicit TestServerClient(const std::string& portFile);

  bool Ready() const { return port_ > 0; }
  int Port() const { return port_; }
  std::string HostText() const;  // "127.0.0.1:port"

  void Answer(const std::string& key, const testserver::ScriptedAnswer& answer);
  std::vector<testserver::LoggedRequest> Requests();
  void Reset();
  // A control request's target with the server's secret, if it has one.
  std::string ControlTarget(const std::string& target) const;

 private:
  std::string Control(const std::string& target, const std::string& body);

  int port_ = 0;
  std::string secret_;
  CHttpSession control_;
};

// A plain OK answer of the service with `body`.
testserver::ScriptedAnswer OkAnswer(std::string body);

}  // namespace velinst::http::test
