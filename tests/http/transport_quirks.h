// Where the platform transports part ways in what the tests can see.
#pragma once

namespace velinst::http::test {

struct TransportQuirks {
  // A server that closes every connection without answering fails the send.
  bool deadServerFailsSend;
  // A receive timeout set on the internet handle ends a stalled request.
  bool honoursReceiveTimeout;
  // Redirects follow the library's own rule (http and https only, a 307 or
  // 308 on the same host only); WinInet follows its own.
  bool appliesRedirectRule;
};

TransportQuirks PlatformTransportQuirks();

}  // namespace velinst::http::test
