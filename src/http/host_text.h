// The host text a session is opened with: a name, or "name:port" to reach a
// port other than the protocol's default. An IPv6 literal carries its port
// in brackets ("[::1]:8080"); a bare IPv6 literal is a name without port.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velinst::http {

struct HostAndPort {
  std::string host;        // without brackets
  std::uint16_t port = 0;  // 0: the protocol's default port
};

// Nothing when the text names a port that is not 1 to 65535, or no host.
std::optional<HostAndPort> ParseHostText(std::string_view text);

}  // namespace velinst::http
