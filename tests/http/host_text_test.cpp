#include "http/host_text.h"

#include <gtest/gtest.h>

namespace velinst::http {
namespace {

TEST(HostText, NameWithOptionalPort) {
  struct Case {
    const char* text;
    const char* host;
    std::uint16_t port;
  } cases[] = {{"service.example", "service.example", 0},
               {"service.example:8080", "service.example", 8080},
               {"127.0.0.1:1", "127.0.0.1", 1},
               {"localhost:65535", "localhost", 65535},
               {"[::1]:8080", "::1", 8080},
               {"[::1]", "::1", 0},
               {"::1", "::1", 0},
               {"fe80::1:2", "fe80::1:2", 0}};
  for (const Case& c : cases) {
    const auto parsed = ParseHostText(c.text);
    EXPECT_TRUE(parsed && parsed->host == c.host && parsed->port == c.port) << c.text;
  }
}

TEST(HostText, RefusesBadPortsAndMissingHosts) {
  for (const char* text : {"", "host:", "host:0", "host:65536", "host:123456", "host:8o", "host:-1", ":80", "[::1",
                           "[::1]8080", "[::1]:", "[]:80", "host: 80"})
    EXPECT_FALSE(ParseHostText(text)) << text;
}

}  // namespace
}  // namespace velinst::http
