// The command line of velinst-service.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "service_settings.h"

namespace velinst::service {

struct ServiceOptions {
  std::string host = "127.0.0.1";
  int port = 0;  // 0: a free one, printed at start
  std::string database = "velinst-service.db";
  ServiceSettings settings;
  std::optional<std::string> adminUser;
  std::string adminPassword;
  std::string portFile;
  // The control path (scripted answers, request log, clock, quit), for the
  // tests: off unless asked for, and then only with the secret the service
  // writes beside the port file.
  bool control = false;
  bool detach = false;
  bool stop = false;
  long idleExitSeconds = 0;
  bool help = false;
};

// The options, or the reason they are not usable.
struct ParsedOptions {
  ServiceOptions options;
  std::string error;  // empty when the options are good
};

ParsedOptions ParseServiceOptions(const std::vector<std::string>& arguments);

// 127.0.0.0/8, ::1 and "localhost": the control path must not be reachable
// from other machines, so the service listens on nothing else.
bool IsLoopbackHost(const std::string& host);

extern const char* const kServiceUsage;

}  // namespace velinst::service
