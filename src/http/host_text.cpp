#include "http/host_text.h"

#include <algorithm>

namespace velinst::http {
namespace {

std::optional<std::uint16_t> ParsePort(std::string_view text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  std::uint32_t port = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    port = port * 10 + static_cast<std::uint32_t>(c - '0');
  }
  if (port == 0 || port > 65535) return std::nullopt;
  return static_cast<std::uint16_t>(port);
}

}  // namespace

std::optional<HostAndPort> ParseHostText(std::string_view text) {
  HostAndPort result;
  std::string_view portText;
  if (!text.empty() && text.front() == '[') {
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    result.host.assign(text.substr(1, close - 1));
    const std::string_view rest = text.substr(close + 1);
    if (!rest.empty()) {
      if (rest.front() != ':') return std::nullopt;
      portText = rest.substr(1);
      if (portText.empty()) return std::nullopt;
    }
  } else if (std::count(text.begin(), text.end(), ':') == 1) {
    const std::size_t colon = text.find(':');
    result.host.assign(text.substr(0, colon));
    portText = text.substr(colon + 1);
    if (portText.empty()) return std::nullopt;
  } else {
    result.host.assign(text);
  }
  if (result.host.empty()) return std::nullopt;
  if (!portText.empty()) {
    const auto port = ParsePort(portText);
    if (!port) return std::nullopt;
    result.port = *port;
  }
  return result;
}

}  // namespace velinst::http
