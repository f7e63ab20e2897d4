#include "transport_quirks.h"

namespace velinst::http::test {

TransportQuirks PlatformTransportQuirks() { return {true, true, true}; }

}  // namespace velinst::http::test
