// The requests the test server received, in order, and their text form
// that tests read back on every platform:
//   request <verb> <target>\n
//   header <name>: <value>\n      (one line per header)
//   body <length>\n<length bytes>\n
#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velinst::testserver {

struct LoggedRequest {
  std::string verb;
  std::string target;  // path and query as sent
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;

  // The first value of the header `name` (any case), or empty.
  std::string Header(std::string_view name) const;
};

class RequestLog {
 public:
  void Add(LoggedRequest request);
  // Keeps only the last `requests` requests (0: all), for servers that run
  // long.
  void SetLimit(std::size_t requests);
  std::vector<LoggedRequest> Requests();
  void Reset();

 private:
  std::mutex lock_;
  std::vector<LoggedRequest> requests_;
  std::size_t limit_ = 0;
};

std::string FormatRequestLog(const std::vector<LoggedRequest>& requests);
// Stops at the first malformed entry.
std::vector<LoggedRequest> ParseRequestLog(std::string_view text);

}  // namespace velinst::testserver
