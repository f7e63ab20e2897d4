#include "transport_quirks.h"

namespace velinst::http::test {

// The Windows tests run under wine, whose WinInet reads a connection closed
// without an answer as an empty HTTP/0.9 reply, and does not pass a receive
// timeout set on the internet handle on to its requests.
TransportQuirks PlatformTransportQuirks() { return {false, false, false}; }

}  // namespace velinst::http::test
