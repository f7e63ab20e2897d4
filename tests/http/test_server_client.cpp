#include "test_server_client.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace velinst::http::test {
namespace {

// The first word of `file`, or "".
std::string FirstWord(const std::string& file) {
  std::FILE* stream = std::fopen(file.c_str(), "r");
  char text[256] = {};
  if (stream == nullptr) return {};
  if (std::fscanf(stream, "%255s", text) != 1) text[0] = '\0';
  std::fclose(stream);
  return text;
}

}  // namespace

TestServerClient::TestServerClient(const std::string& portFile)
    : port_(std::atoi(FirstWord(portFile).c_str())), secret_(FirstWord(testserver::ControlSecretFile(portFile))) {
  if (port_ <= 0 || !control_.Open(HostText().c_str())) return;
  try {
    Reset();
  } catch (const std::runtime_error&) {
    // A server without a control path (the stand-in as it is shipped).
  }
}

std::string TestServerClient::ControlTarget(const std::string& target) const {
  if (secret_.empty()) return target;
  return target + (target.find('?') == std::string::npos ? "?" : "&") + testserver::kControlSecretParameter + "=" +
         secret_;
}

std::string TestServerClient::HostText() const { return "127.0.0.1:" + std::to_string(port_); }

std::string TestServerClient::Control(const std::string& target, const std::string& body) {
  // An empty post still goes as a POST: the data pointer is what counts.
  control_.SetPostData(body.data(), static_cast<std::uint32_t>(body.size()));
  std::uint32_t length = 0, result = 0;
  const HttpBuffer answer = control_.Request(length, ControlTarget(target).c_str(), result);
  if (!answer || control_.GetStatusCode() != 200) throw std::runtime_error("test server control failed: " + target);
  return std::string(answer.get(), length);
}

void TestServerClient::Answer(const std::string& key, const testserver::ScriptedAnswer& answer) {
  Control(testserver::AnswerControlTarget(key, answer), answer.body);
}

std::vector<testserver::LoggedRequest> TestServerClient::Requests() {
  return testserver::ParseRequestLog(Control(testserver::kControlLogPath, ""));
}

void TestServerClient::Reset() { Control(testserver::kControlResetPath, ""); }

testserver::ScriptedAnswer OkAnswer(std::string body) {
  testserver::ScriptedAnswer answer;
  answer.pragma = "status=OK";
  answer.body = std::move(body);
  return answer;
}

}  // namespace velinst::http::test
