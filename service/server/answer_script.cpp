#include "answer_script.h"

#include <cstdlib>

namespace velinst::testserver {

void AnswerScript::Add(const std::string& key, ScriptedAnswer answer) {
  const std::lock_guard lock(lock_);
  queues_[key].push_back(std::move(answer));
}

std::optional<ScriptedAnswer> AnswerScript::Take(const std::string& key) {
  const auto found = queues_.find(key);
  if (found == queues_.end() || found->second.empty()) return std::nullopt;
  std::deque<ScriptedAnswer>& queue = found->second;
  if (queue.size() == 1) return queue.front();
  ScriptedAnswer answer = std::move(queue.front());
  queue.pop_front();
  return answer;
}

std::optional<ScriptedAnswer> AnswerScript::Next(const std::string& method, const std::string& path) {
  const std::lock_guard lock(lock_);
  if (!method.empty())
    if (auto answer = Take(method)) return answer;
  return Take(path);
}

void AnswerScript::Reset() {
  const std::lock_guard lock(lock_);
  queues_.clear();
}

std::string PercentEncode(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') || byte == '-' ||
        byte == '.' || byte == '_' || byte == '~') {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 15];
    }
  }
  return encoded;
}

std::string AnswerControlTarget(const std::string& key, const ScriptedAnswer& answer) {
  std::string target = std::string(kControlAnswerPath) + "?key=" + PercentEncode(key) +
                       "&status=" + std::to_string(answer.status) + "&type=" + PercentEncode(answer.contentType);
  if (answer.pragma) target += "&pragma=" + PercentEncode(*answer.pragma);
  for (const auto& [name, value] : answer.headers) target += "&header=" + PercentEncode(name + ":" + value);
  if (answer.generatedSize != 0) target += "&size=" + std::to_string(answer.generatedSize);
  if (answer.delayMs != 0) target += "&delay=" + std::to_string(answer.delayMs);
  if (answer.drop) target += "&drop=1";
  return target;
}

ScriptedAnswer AnswerFromControl(const std::function<std::vector<std::string>(const std::string&)>& parameter,
                                 std::string body) {
  auto first = [&](const char* name) -> std::optional<std::string> {
    std::vector<std::string> values = parameter(name);
    if (values.empty()) return std::nullopt;
    return values.front();
  };
  ScriptedAnswer answer;
  if (const auto status = first("status")) answer.status = std::atoi(status->c_str());
  if (const auto type = first("type")) answer.contentType = *type;
  answer.pragma = first("pragma");
  for (const std::string& header : parameter("header")) {
    const std::size_t colon = header.find(':');
    if (colon != std::string::npos) answer.headers.emplace_back(header.substr(0, colon), header.substr(colon + 1));
  }
  if (const auto size = first("size")) answer.generatedSize = std::strtoull(size->c_str(), nullptr, 10);
  if (const auto delay = first("delay"))
    answer.delayMs = static_cast<std::uint32_t>(std::strtoul(delay->c_str(), nullptr, 10));
  answer.drop = first("drop").has_value();
  answer.body = std::move(body);
  return answer;
}

std::string ControlSecretFile(const std::string& portFile) { return portFile + ".secret"; }

}  // namespace velinst::testserver
