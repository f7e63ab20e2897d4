#include "rdb/service_host.h"

#include <cstdint>

#include "creg/reg.h"

namespace velinst {

namespace {

constexpr std::uint32_t kHostCapacity = 256;

}  // namespace

std::string ReadServiceHost(const char* defaultHost) {
  CReg key;
  if (!key.OpenLocalMachine(kServiceHostKey, false)) return defaultHost;
  char host[kHostCapacity] = {};
  key.GetValue("", host, kHostCapacity, defaultHost);
  // An empty value leaves the client on the default host as well.
  return host[0] != '\0' ? host : defaultHost;
}

}  // namespace velinst
