#include "service_client.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <stdexcept>

namespace velinst::service::test {
namespace {

constexpr const char* kServicePathPrefix = "WebServices/Api/Rest/RestHandler.ashx?method=";

// The text between `<name>` and `</name>` from `from` on, entities decoded.
std::optional<std::string> ElementText(const std::string& body, std::string_view name, std::size_t from) {
  const std::string open = "<" + std::string(name) + ">", close = "</" + std::string(name) + ">";
  const std::size_t start = body.find(open, from), end = body.find(close, start);
  if (start == std::string::npos || end == std::string::npos)
    return body.find("<" + std::string(name) + "/>", from) != std::string::npos ? std::optional(std::string())
                                                                                : std::nullopt;
  std::string text;
  static const std::pair<const char*, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  for (std::size_t i = start + open.size(); i < end; ++i) {
    char c = body[i];
    for (const auto& [entity, letter] : kEntities)
      if (body.compare(i, std::strlen(entity), entity) == 0) c = letter, i += std::strlen(entity) - 1;
    text += c;
  }
  return text;
}

}  // namespace

std::optional<std::string> ServiceReply::FieldText(std::string_view name, std::string_view field) const {
  const std::size_t at = body.find("<" + std::string(name) + ">");
  return at == std::string::npos ? std::nullopt : ElementText(body, field, at);
}

std::string UniqueName(const std::string& prefix) {
  static std::atomic<int> counter{0};
  static const long long run =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::system_clock::now().time_since_epoch())
          .count();
  return prefix + std::to_string(run % 100000000) + "x" + std::to_string(++counter);
}

ServiceClient::ServiceClient(const std::string& portFile) : control_(portFile) {
  if (control_.Ready()) session_.Open(control_.HostText().c_str());
}

ServiceReply ServiceClient::Request(const std::string& path) {
  std::uint32_t length = 0, result = 0;
  const http::HttpBuffer bytes = session_.Request(length, path.c_str(), result);
  ServiceReply reply;
  reply.status = session_.GetStatusCode();
  if (bytes) reply.body.assign(bytes.get(), length);
  return reply;
}

ServiceReply ServiceClient::Call(const std::string& method, const Parameters& parameters) {
  std::string query;
  for (const auto& [name, value] : parameters) query += "&" + name + "=" + value;
  return Request(kServicePathPrefix + method + query);
}

void ServiceClient::AdvanceClock(std::int64_t seconds) {
  // The offset is set, not added to, so a request the transport repeats
  // moves the clock once.
  const ServiceReply now = Request(control_.ControlTarget("/_control/clock"));
  if (now.status != 200) throw std::runtime_error("the stand-in's clock cannot be read");
  const ServiceReply moved =
      Request(control_.ControlTarget("/_control/clock?offset=" + std::to_string(std::stoll(now.body) + seconds)));
  if (moved.status != 200) throw std::runtime_error("the stand-in's clock did not move");
}

}  // namespace velinst::service::test
