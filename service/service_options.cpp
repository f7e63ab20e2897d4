#include "service_options.h"

#include <charconv>
#include <cstdlib>
#include <fstream>

#include "password_hash.h"

namespace velinst::service {
namespace {

template <typename Number>
bool ReadNumber(const std::string& text, Number& value, Number minimum, Number maximum) {
  Number parsed{};
  const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) return false;
  if (parsed < minimum || parsed > maximum) return false;
  value = parsed;
  return true;
}

// "HOST:PORT" or "[V6HOST]:PORT".
bool ReadListen(const std::string& text, std::string& host, int& port) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string::npos) return false;
  host = text.substr(0, colon);
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
  return !host.empty() && ReadNumber(text.substr(colon + 1), port, 0, 65535);
}

}  // namespace

const char* const kServiceUsage =
    "usage: velinst-service [--listen 127.0.0.1:PORT] [--db PATH|:memory:] [--token-ttl SECONDS]\n"
    "                       [--admin USER[:PASSWORD]] [--admin-password-file FILE]\n"
    "                       [--admin-password-env NAME] [--hash-iterations N]\n"
    "                       [--port-file FILE] [--control] [--detach] [--idle-exit SECONDS]\n"
    "       velinst-service --stop --port-file FILE\n"
    "Serves the account web service on a loopback address (port 0 picks a free port and prints it).\n"
    "--control opens the control path of the tests; its secret goes to FILE.secret (owner only).\n";

bool IsLoopbackHost(const std::string& host) {
  return host == "localhost" || host == "::1" || host.rfind("127.", 0) == 0;
}

ParsedOptions ParseServiceOptions(const std::vector<std::string>& arguments) {
  ParsedOptions parsed;
  ServiceOptions& options = parsed.options;
  std::optional<std::string> adminPassword;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    const std::string value = hasValue ? arguments[i + 1] : std::string();
    bool good = true;
    if (option == "--help" || option == "-h") {
      options.help = true;
      continue;
    } else if (option == "--detach") {
      options.detach = true;
      continue;
    } else if (option == "--stop") {
      options.stop = true;
      continue;
    } else if (option == "--control") {
      options.control = true;
      continue;
    } else if (!hasValue) {
      parsed.error = "unknown option or missing value: " + option;
      return parsed;
    } else if (option == "--listen") {
      good = ReadListen(value, options.host, options.port);
      if (good && !IsLoopbackHost(options.host)) {
        parsed.error = "--listen takes a loopback address (127.x.x.x, ::1, localhost)";
        return parsed;
      }
    } else if (option == "--db") {
      options.database = value;
      good = !value.empty();
    } else if (option == "--token-ttl") {
      good = ReadNumber<std::int64_t>(value, options.settings.tokenTtlSeconds, 1, 10LL * 365 * 86400);
    } else if (option == "--hash-iterations") {
      good = ReadNumber<std::uint32_t>(value, options.settings.hashIterations, kMinimumHashIterations, 10000000);
    } else if (option == "--admin") {
      const std::size_t colon = value.find(':');
      good = colon != 0 && !value.empty();
      if (good) {
        options.adminUser = value.substr(0, colon);
        if (colon != std::string::npos) adminPassword = value.substr(colon + 1);
      }
    } else if (option == "--admin-password-file") {
      // The first line; a command line is visible to every local user.
      std::ifstream file(value);
      std::string line;
      good = file && std::getline(file, line);
      if (good && !line.empty() && line.back() == '\r') line.pop_back();  // written on Windows
      if (good) adminPassword = line;
    } else if (option == "--admin-password-env") {
      const char* text = std::getenv(value.c_str());
      good = text != nullptr;
      if (good) adminPassword = text;
    } else if (option == "--port-file") {
      options.portFile = value;
      good = !value.empty();
    } else if (option == "--idle-exit") {
      good = ReadNumber<long>(value, options.idleExitSeconds, 0, 86400L * 365);
    } else {
      parsed.error = "unknown option: " + option;
      return parsed;
    }
    if (!good) {
      parsed.error = "bad value for " + option + ": " + value;
      return parsed;
    }
    ++i;
  }
  if ((options.stop || options.detach || options.control) && options.portFile.empty())
    parsed.error = "--stop, --detach and --control need --port-file";
  else if (options.adminUser.has_value() != adminPassword.has_value())
    parsed.error = "--admin needs a password: USER:PASSWORD, --admin-password-file or --admin-password-env";
  else if (adminPassword)
    options.adminPassword = *adminPassword;
  return parsed;
}

}  // namespace velinst::service
