// The session against libcurl used directly, both on the scripted test
// server in this process: 1,000 sequential small GETs (the direct form
// reuses one easy handle), and one 64 MiB body read whole into memory.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <string>
#include <thread>

#include "http/http_session.h"
#include "scripted_server.h"

namespace {

constexpr int kGets = 1000;
constexpr std::uint64_t kLargeBody = 64ull * 1024 * 1024;

class Server {
 public:
  Server() {
    port_ = server_.Bind("127.0.0.1");
    velinst::testserver::ScriptedAnswer small;
    small.pragma = "status=OK";
    small.body = "<rsp status=\"ok\"><exists>true</exists></rsp>";
    server_.Script().Add("/small", small);
    velinst::testserver::ScriptedAnswer large = small;
    large.body.clear();
    large.generatedSize = kLargeBody;
    server_.Script().Add("/large", large);
    thread_ = std::thread([this] { server_.Run(); });
  }
  ~Server() {
    server_.Stop();
    thread_.join();
  }
  std::string HostText() const { return "127.0.0.1:" + std::to_string(port_); }
  std::string Url(const char* path) const { return "http://" + HostText() + path; }

 private:
  velinst::testserver::ScriptedServer server_;
  int port_ = 0;
  std::thread thread_;
};

Server& TheServer() {
  static Server server;
  return server;
}

std::size_t Append(char* data, std::size_t size, std::size_t count, void* target) {
  static_cast<std::string*>(target)->append(data, size * count);
  return size * count;
}

void Baseline_CurlGets(benchmark::State& state) {
  const std::string url = TheServer().Url("/small");
  CURL* easy = curl_easy_init();
  std::string body;
  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, Append);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
  for (auto _ : state) {
    for (int i = 0; i < kGets; ++i) {
      body.clear();
      if (curl_easy_perform(easy) != CURLE_OK) state.SkipWithError("curl failed");
    }
  }
  curl_easy_cleanup(easy);
}
BENCHMARK(Baseline_CurlGets)->Unit(benchmark::kMillisecond)->UseRealTime();

void SessionGets(benchmark::State& state) {
  velinst::http::CHttpSession session;
  if (!session.Open(TheServer().HostText().c_str())) state.SkipWithError("open failed");
  for (auto _ : state) {
    for (int i = 0; i < kGets; ++i) {
      std::uint32_t length = 0, result = 0;
      if (!session.Request(length, "small", result)) state.SkipWithError("request failed");
    }
  }
}
BENCHMARK(SessionGets)->Unit(benchmark::kMillisecond)->UseRealTime();

void Baseline_CurlLargeBody(benchmark::State& state) {
  const std::string url = TheServer().Url("/large");
  CURL* easy = curl_easy_init();
  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, Append);
  for (auto _ : state) {
    std::string body;
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
    if (curl_easy_perform(easy) != CURLE_OK || body.size() != kLargeBody) state.SkipWithError("curl failed");
  }
  curl_easy_cleanup(easy);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kLargeBody));
}
BENCHMARK(Baseline_CurlLargeBody)->Unit(benchmark::kMillisecond)->UseRealTime();

void SessionLargeBody(benchmark::State& state) {
  velinst::http::CHttpSession session;
  if (!session.Open(TheServer().HostText().c_str())) state.SkipWithError("open failed");
  for (auto _ : state) {
    std::uint32_t length = 0, result = 0;
    const auto body = session.Request(length, "large", result);
    if (!body || length != kLargeBody) state.SkipWithError("request failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kLargeBody));
}
BENCHMARK(SessionLargeBody)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
