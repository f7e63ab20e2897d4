#include "scripted_server.h"

#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

namespace velinst::testserver {
namespace {

constexpr std::size_t kThreads = 32;
constexpr std::size_t kKeepAliveRequests = 1000000;
constexpr std::size_t kGeneratedChunk = 64 * 1024;

std::int64_t NowSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

int PortOf(const sockaddr_storage& address) {
  if (address.ss_family == AF_INET) return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
  if (address.ss_family == AF_INET6) return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
  return -1;
}

// cpp-httplib has no call to drop a connection from a handler: the socket
// is found among the process's descriptors by its two ports and shut down,
// so the client sees the connection end without an answer.
void DropConnection(int localPort, int remotePort) {
  DIR* folder = opendir("/proc/self/fd");
  if (folder == nullptr) return;
  while (const dirent* entry = readdir(folder)) {
    const int fd = std::atoi(entry->d_name);
    if (fd <= 2) continue;
    sockaddr_storage local{}, peer{};
    socklen_t localSize = sizeof local, peerSize = sizeof peer;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localSize) != 0 ||
        getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerSize) != 0)
      continue;
    if (PortOf(local) == localPort && PortOf(peer) == remotePort) {
      linger abort{1, 0};  // reset rather than a tidy close
      setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
      shutdown(fd, SHUT_RDWR);
    }
  }
  closedir(folder);
}

// cpp-httplib listens with a backlog of 5: many clients connecting at once
// overflow it and wait a second for their connect to be tried again. The
// listening socket is found among the descriptors by its port and told to
// listen again with the system's full backlog.
void WidenListenBacklog(int port) {
  DIR* folder = opendir("/proc/self/fd");
  if (folder == nullptr) return;
  while (const dirent* entry = readdir(folder)) {
    const int fd = std::atoi(entry->d_name);
    if (fd <= 2) continue;
    sockaddr_storage local{};
    socklen_t localSize = sizeof local;
    int listening = 0;
    socklen_t flagSize = sizeof listening;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localSize) != 0 || PortOf(local) != port ||
        getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &listening, &flagSize) != 0 || listening == 0)
      continue;
    listen(fd, SOMAXCONN);
  }
  closedir(folder);
}

// cpp-httplib files the connection's addresses among the headers.
bool IsPseudoHeader(const std::string& name) {
  return name == "LOCAL_ADDR" || name == "LOCAL_PORT" || name == "REMOTE_ADDR" || name == "REMOTE_PORT";
}

}  // namespace

ScriptedServer::ScriptedServer() {
  threads_ = kThreads;
  server_.new_task_queue = [this] { return new httplib::ThreadPool(threads_); };
  server_.set_keep_alive_max_count(kKeepAliveRequests);
  // Headers and body go out in separate writes; Nagle would hold the body
  // back until the client's delayed acknowledgement.
  server_.set_tcp_nodelay(true);
  auto serve = [this](const httplib::Request& request, httplib::Response& response) { Serve(request, response); };
  server_.Get(".*", serve);
  server_.Post(".*", serve);
  server_.Put(".*", serve);
  server_.Delete(".*", serve);
  Touch();
}

int ScriptedServer::Bind(const std::string& host, int port) {
  const int bound = port == 0 ? server_.bind_to_any_port(host) : (server_.bind_to_port(host, port) ? port : -1);
  if (bound > 0) WidenListenBacklog(bound);
  return bound;
}

void ScriptedServer::Run(std::chrono::seconds idleExit) {
  std::thread watchdog;
  std::atomic<bool> running{true};
  if (idleExit.count() != 0) {
    watchdog = std::thread([&] {
      while (running) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        if (NowSeconds() - lastRequest_ > idleExit.count()) {
          server_.stop();
          return;
        }
      }
    });
  }
  server_.listen_after_bind();
  running = false;
  if (watchdog.joinable()) watchdog.join();
}

void ScriptedServer::Stop() { server_.stop(); }

void ScriptedServer::SetConnectionLimits(std::size_t threads, std::chrono::seconds keepAliveIdle) {
  threads_ = threads;
  server_.set_keep_alive_timeout(keepAliveIdle.count());
}

void ScriptedServer::SetErrorResponder(Responder responder) {
  server_.set_error_handler(httplib::Server::HandlerWithResponse(
      [responder = std::move(responder)](const httplib::Request& request, httplib::Response& response) {
        return responder(request, response) ? httplib::Server::HandlerResponse::Handled
                                            : httplib::Server::HandlerResponse::Unhandled;
      }));
}

void ScriptedServer::Touch() { lastRequest_ = NowSeconds(); }

bool ScriptedServer::ControlAllowed(const httplib::Request& request) const {
  if (control_ == ControlAccess::kOpen) return true;
  const std::string given =
      request.has_param(kControlSecretParameter) ? request.get_param_value(kControlSecretParameter) : std::string();
  // Every byte is compared, so the time does not tell how much matched.
  unsigned difference = given.size() != controlSecret_.size() ? 1 : 0;
  for (std::size_t i = 0; i < given.size() && i < controlSecret_.size(); ++i)
    difference |= static_cast<unsigned char>(given[i] ^ controlSecret_[i]);
  return difference == 0 && !controlSecret_.empty();
}

void ScriptedServer::Serve(const httplib::Request& request, httplib::Response& response) {
  Touch();
  if (request.path.rfind("/_control/", 0) == 0 && control_ != ControlAccess::kClosed) {
    if (ControlAllowed(request)) return Control(request, response);
    response.status = 403;
    response.set_content("control secret missing or wrong\n", "text/plain");
    return;
  }
  LoggedRequest logged{request.method, request.target, {}, request.body};
  for (const auto& [name, value] : request.headers)
    if (!IsPseudoHeader(name)) logged.headers.emplace_back(name, value);
  if (logFilter_) logFilter_(logged);
  log_.Add(std::move(logged));
  const std::string method = request.has_param("method") ? request.get_param_value("method") : std::string();
  if (const auto answer = script_.Next(method, request.path)) return Answer(*answer, request, response);
  if (responder_ && responder_(request, response)) return;
  response.status = 404;
  response.set_content("not scripted\n", "text/plain");
}

void ScriptedServer::Answer(const ScriptedAnswer& answer, const httplib::Request& request,
                            httplib::Response& response) {
  if (answer.delayMs != 0) std::this_thread::sleep_for(std::chrono::milliseconds(answer.delayMs));
  if (answer.drop) {
    DropConnection(request.local_port, request.remote_port);
    return;
  }
  response.status = answer.status;
  if (answer.pragma) response.set_header("Pragma", *answer.pragma);
  for (const auto& [name, value] : answer.headers) response.set_header(name, value);
  if (answer.generatedSize == 0) {
    response.set_content(answer.body, answer.contentType.c_str());
    return;
  }
  response.set_content_provider(answer.generatedSize, answer.contentType.c_str(),
                                [](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                                  char chunk[kGeneratedChunk];
                                  const std::size_t count = std::min(length, sizeof chunk);
                                  for (std::size_t i = 0; i < count; ++i) chunk[i] = GeneratedByte(offset + i);
                                  return sink.write(chunk, count);
                                });
}

void ScriptedServer::Control(const httplib::Request& request, httplib::Response& response) {
  if (request.path == kControlAnswerPath && request.has_param("key")) {
    auto parameter = [&](const std::string& name) {
      std::vector<std::string> values;
      for (std::size_t i = 0; i < request.get_param_value_count(name); ++i)
        values.push_back(request.get_param_value(name, i));
      return values;
    };
    script_.Add(request.get_param_value("key"), AnswerFromControl(parameter, request.body));
    response.set_content("ok\n", "text/plain");
  } else if (request.path == kControlResetPath) {
    script_.Reset();
    log_.Reset();
    response.set_content("ok\n", "text/plain");
  } else if (request.path == kControlLogPath) {
    response.set_content(FormatRequestLog(log_.Requests()), "text/plain");
  } else if (request.path == kControlQuitPath) {
    response.set_content("ok\n", "text/plain");
    std::thread([this] { server_.stop(); }).detach();
  } else if (!controlResponder_ || !controlResponder_(request, response)) {
    response.status = 400;
  }
}

}  // namespace velinst::testserver
