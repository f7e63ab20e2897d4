#include "request_log.h"

#include <cctype>
#include <charconv>

namespace velinst::testserver {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// Takes one line (without its line feed) off the front of `text`.
bool TakeLine(std::string_view& text, std::string_view& line) {
  const std::size_t end = text.find('\n');
  if (end == std::string_view::npos) return false;
  line = text.substr(0, end);
  text.remove_prefix(end + 1);
  return true;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace

std::string LoggedRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : headers)
    if (SameName(key, name)) return value;
  return {};
}

void RequestLog::Add(LoggedRequest request) {
  const std::lock_guard lock(lock_);
  if (limit_ != 0 && requests_.size() >= limit_)
    requests_.erase(requests_.begin(), requests_.begin() + static_cast<std::ptrdiff_t>(requests_.size() - limit_ + 1));
  requests_.push_back(std::move(request));
}

void RequestLog::SetLimit(std::size_t requests) {
  const std::lock_guard lock(lock_);
  limit_ = requests;
}

std::vector<LoggedRequest> RequestLog::Requests() {
  const std::lock_guard lock(lock_);
  return requests_;
}

void RequestLog::Reset() {
  const std::lock_guard lock(lock_);
  requests_.clear();
}

std::string FormatRequestLog(const std::vector<LoggedRequest>& requests) {
  std::string text;
  for (const LoggedRequest& request : requests) {
    text += "request " + request.verb + " " + request.target + "\n";
    for (const auto& [name, value] : request.headers) text += "header " + name + ": " + value + "\n";
    text += "body " + std::to_string(request.body.size()) + "\n";
    text += request.body + "\n";
  }
  return text;
}

std::vector<LoggedRequest> ParseRequestLog(std::string_view text) {
  std::vector<LoggedRequest> requests;
  std::string_view line;
  while (TakeLine(text, line) && StartsWith(line, "request ")) {
    LoggedRequest request;
    line.remove_prefix(8);
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) break;
    request.verb = line.substr(0, space);
    request.target = line.substr(space + 1);
    bool complete = false;
    while (TakeLine(text, line)) {
      if (StartsWith(line, "header ")) {
        line.remove_prefix(7);
        const std::size_t colon = line.find(": ");
        if (colon == std::string_view::npos) break;
        request.headers.emplace_back(line.substr(0, colon), line.substr(colon + 2));
        continue;
      }
      if (!StartsWith(line, "body ")) break;
      std::size_t length = 0;
      const std::string_view digits = line.substr(5);
      if (std::from_chars(digits.data(), digits.data() + digits.size(), length).ec != std::errc() ||
          length + 1 > text.size() || text[length] != '\n')
        break;
      request.body = text.substr(0, length);
      text.remove_prefix(length + 1);
      complete = true;
      break;
    }
    if (!complete) break;
    requests.push_back(std::move(request));
  }
  return requests;
}

}  // namespace velinst::testserver
