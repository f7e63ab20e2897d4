// What the test server answers: per method name (the "method" query
// parameter) or per path, a queue of scripted answers given in order, the
// last one repeating. The types and their control encoding are portable so
// tests on every platform can script the server.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velinst::testserver {

struct ScriptedAnswer {
  int status = 200;
  std::string contentType = "text/xml";
  std::optional<std::string> pragma;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  std::uint64_t generatedSize = 0;  // when not 0, the body is this many pattern bytes
  std::uint32_t delayMs = 0;        // waited before answering
  bool drop = false;                // close the connection without answering
};

// The byte at `offset` of a generated body.
inline char GeneratedByte(std::uint64_t offset) { return static_cast<char>('a' + offset % 26); }

class AnswerScript {
 public:
  void Add(const std::string& key, ScriptedAnswer answer);
  // The answer for a request, by its method name first, then by its path.
  std::optional<ScriptedAnswer> Next(const std::string& method, const std::string& path);
  void Reset();

 private:
  std::optional<ScriptedAnswer> Take(const std::string& key);

  std::mutex lock_;
  std::map<std::string, std::deque<ScriptedAnswer>> queues_;
};

// The control request that adds `answer` for `key`: its target (path and
// query); the answer's body travels as the request's body.
std::string AnswerControlTarget(const std::string& key, const ScriptedAnswer& answer);

// The answer of a control request, from its query parameters.
ScriptedAnswer AnswerFromControl(const std::function<std::vector<std::string>(const std::string&)>& parameter,
                                 std::string body);

inline constexpr const char* kControlAnswerPath = "/_control/answer";
inline constexpr const char* kControlResetPath = "/_control/reset";
inline constexpr const char* kControlLogPath = "/_control/log";
inline constexpr const char* kControlQuitPath = "/_control/quit";
// The query parameter that carries a server's control secret, where it has
// one (ScriptedServer::RequireControlSecret).
inline constexpr const char* kControlSecretParameter = "controlSecret";
// The file beside a port file that holds the server's control secret.
std::string ControlSecretFile(const std::string& portFile);

// Percent-encodes every byte but letters, digits and "-._~".
std::string PercentEncode(const std::string& text);

}  // namespace velinst::testserver
