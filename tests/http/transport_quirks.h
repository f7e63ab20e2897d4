// Where the platform transports part ways in what the tests can see.
#pragma once

namespace velinst::http::test {

struct TransportQuirks {
  // A server that closes every connection without answering fails the send.
  bool deadServerFailsSend;
  // A receive timeout set on the internet handle ends a stalled request.
  bool honoursReceiveTimeout;
};

TransportQuirks PlatformTransportQuirks();

}  // namespace velinst::http::test
