// The session used from several threads at once: opening, closing and
// requesting on one session never pulls a handle from under a request, and
// the serialized variant runs one request at a time.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "http/http_session.h"
#include "http/serialized_http_session.h"

namespace velinst::http {
namespace {

// What the objects of one transport share. Every object keeps the alive
// flag of the object it was made from and counts a use after that object
// was closed, as a freed WinInet or libcurl handle would be used.
struct Shared {
  std::atomic<int> usedAfterClose{0}, liveConnections{0}, inFlight{0}, mostInFlight{0}, endedRequests{0};
  std::atomic<bool> failConnect{false};
  // While held, sends wait at the gate.
  std::mutex gateLock;
  std::condition_variable gateChanged;
  bool held = false;
  int waiting = 0;

  void Hold(bool hold) {
    {
      const std::lock_guard lock(gateLock);
      held = hold;
    }
    gateChanged.notify_all();
  }
  void WaitUntilWaiting() {
    std::unique_lock lock(gateLock);
    gateChanged.wait(lock, [&] { return waiting > 0; });
  }
  void PassGate() {
    std::unique_lock lock(gateLock);
    ++waiting;
    gateChanged.notify_all();
    gateChanged.wait(lock, [&] { return !held; });
    --waiting;
  }
};

// Set to false when its object is closed or gone.
using AliveFlag = std::shared_ptr<std::atomic<bool>>;

class ThreadRequest final : public IHttpRequest {
 public:
  ThreadRequest(Shared& shared, AliveFlag connection) : shared_(shared), connection_(std::move(connection)) {}
  ~ThreadRequest() override { ++shared_.endedRequests; }
  bool AddHeader(std::string_view) override { return Use(); }
  bool Send(const void*, std::uint32_t) override {
    const int now = ++shared_.inFlight;
    for (int most = shared_.mostInFlight; now > most && !shared_.mostInFlight.compare_exchange_weak(most, now);) {
    }
    shared_.PassGate();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    --shared_.inFlight;
    return Use();
  }
  bool Query(ReplyInfo info, std::size_t, std::string& value) override {
    value = "200";
    return info == ReplyInfo::kStatusCode && Use();
  }
  bool Read(void* buffer, std::uint32_t size, std::uint32_t& read) override {
    read = done_ || size < 2 ? 0 : 2;
    if (read != 0) std::memcpy(buffer, "ok", 2);
    done_ = true;
    return Use();
  }

 private:
  bool Use() {
    if (!*connection_) ++shared_.usedAfterClose;
    return true;
  }
  Shared& shared_;
  AliveFlag connection_;
  bool done_ = false;
};

class ThreadConnection final : public IHttpConnection {
 public:
  ThreadConnection(Shared& shared, AliveFlag internet) : shared_(shared), internet_(std::move(internet)) {
    ++shared_.liveConnections;
  }
  ~ThreadConnection() override { --shared_.liveConnections, *alive_ = false; }
  std::unique_ptr<IHttpRequest> OpenRequest(const char*, const char*, std::uint32_t) override {
    if (!*internet_) ++shared_.usedAfterClose;
    return std::make_unique<ThreadRequest>(shared_, alive_);
  }

 private:
  Shared& shared_;
  AliveFlag internet_, alive_ = std::make_shared<std::atomic<bool>>(true);
};

class ThreadInternet final : public IInternetHandle {
 public:
  explicit ThreadInternet(Shared& shared) : shared_(shared) {}
  ~ThreadInternet() override { *alive_ = false; }
  bool SetTimeout(TimeoutOption, std::uint32_t) override { return true; }
  std::unique_ptr<IHttpConnection> Connect(const std::string&, std::uint16_t) override {
    return shared_.failConnect ? nullptr : std::make_unique<ThreadConnection>(shared_, alive_);
  }
  bool Close() override { return !(*alive_ = false); }

 private:
  Shared& shared_;
  AliveFlag alive_ = std::make_shared<std::atomic<bool>>(true);
};

class ThreadTransport final : public IHttpTransport {
 public:
  explicit ThreadTransport(Shared& shared) : shared_(shared) {}
  std::unique_ptr<IInternetHandle> Open(const std::string&) override {
    return std::make_unique<ThreadInternet>(shared_);
  }
  void Sleep(std::uint32_t) override {}
  bool GetConnectedState(std::uint32_t& flags) override { return (flags = 0) == 0; }
  std::uint32_t AttemptConnect() override { return 0; }

 private:
  Shared& shared_;
};

std::string Fetch(CHttpSession& session, std::uint32_t* resultOut = nullptr) {
  std::uint32_t length = 0, result = 0;
  const HttpBuffer body = session.Request(length, "p?a=1&b=%20", result);
  if (resultOut != nullptr) *resultOut = result;
  return body ? std::string(body.get(), length) : "<null>";
}

TEST(HttpSessionThreads, CloseAndOpenLeaveARunningRequestItsHandlesFromManyThreads) {
  Shared shared;
  CHttpSession session(std::make_unique<ThreadTransport>(shared));
  ASSERT_TRUE(session.Open("h"));
  shared.Hold(true);
  std::string body;
  std::thread requester([&] { body = Fetch(session); });
  shared.WaitUntilWaiting();
  EXPECT_TRUE(session.Close());  // the request still holds the handles
  EXPECT_FALSE(session.IsOpen());
  EXPECT_TRUE(session.Open("h"));
  EXPECT_EQ(shared.liveConnections, 2);
  shared.Hold(false);
  requester.join();
  EXPECT_EQ(body, "ok");
  EXPECT_EQ(shared.usedAfterClose, 0);
  EXPECT_EQ(shared.liveConnections, 1) << "the first connection goes with its last request";

  // Opens, closes and settings from several threads while requests run. Run
  // under ThreadSanitizer, this also finds settings read and written at once.
  ASSERT_TRUE(session.Open("h:8080"));
  std::atomic<bool> stop{false};
  std::atomic<int> answered{0};
  std::vector<std::thread> setters, requesters;
  for (int i = 0; i < 3; ++i)
    setters.emplace_back([&, i] {
      while (answered == 0) std::this_thread::yield();  // the requests are under way
      for (int round = 0; round < 200; ++round) {
        session.SetAgent(std::string(static_cast<std::size_t>(round % 50), 'a' + static_cast<char>(i)));
        session.SetSecure(round % 2 == 0);
        session.SetSendTimeout(static_cast<std::uint32_t>(round));
        if (round % 3 == 0) session.Close();
        session.Open(round % 2 == 0 ? "h:8080" : nullptr);
        char agent[64];
        session.GetAgent(agent, sizeof agent);
      }
    });
  for (int i = 0; i < 5; ++i)
    requesters.emplace_back([&] {
      while (!stop) answered += Fetch(session) == "ok";
    });
  for (std::thread& thread : setters) thread.join();
  stop = true;
  for (std::thread& thread : requesters) thread.join();
  EXPECT_EQ(shared.usedAfterClose, 0);
  EXPECT_GT(answered, 0);
  session.Close();
  EXPECT_EQ(shared.liveConnections, 0);
}

// Only the first open and the last close act; an open after a failed one
// tries again. The default status requirement holds for each request and is
// set back afterwards (the test transport answers no status).
TEST(SerializedHttpSessionThreads, CountedOpensRequirementKeptApartOneRequestAtATimeAndLastCloseWaits) {
  Shared shared;
  CSerializedHttpSession failed(std::make_unique<ThreadTransport>(shared)),
      session(std::make_unique<ThreadTransport>(shared));
  shared.failConnect = true;
  EXPECT_FALSE(failed.Open("h"));
  shared.failConnect = false;
  ASSERT_TRUE(failed.Open("h"));
  ASSERT_TRUE(failed.IsOpen());
  ASSERT_TRUE(session.Open("h") && session.Open("other"));
  EXPECT_EQ(shared.liveConnections, 2);
  EXPECT_TRUE(session.Close());
  EXPECT_TRUE(session.IsOpen());
  EXPECT_TRUE(session.Close());
  EXPECT_FALSE(session.IsOpen());
  EXPECT_FALSE(session.Close());  // more closes than opens change nothing
  ASSERT_TRUE(session.Open("h"));
  EXPECT_TRUE(session.IsOpen());

  session.SetRequireStatusDefault(true);
  std::uint32_t result = 0, length = 0;
  EXPECT_EQ(Fetch(session, &result), "ok");
  EXPECT_EQ(result, 0x007D0000u);
  EXPECT_FALSE(session.GetRequireStatus());
  char buffer[8];
  EXPECT_EQ(session.Request(length, "p", result, buffer, sizeof buffer), buffer);
  EXPECT_EQ(result, 0x007D0000u);

  // One request at a time from several threads.
  std::vector<std::thread> threads;
  std::atomic<int> answered{0};
  for (int i = 0; i < 8; ++i)
    threads.emplace_back([&] {
      for (int round = 0; round < 20; ++round) answered += Fetch(session) == "ok";
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(answered, 8 * 20);
  EXPECT_EQ(shared.mostInFlight, 1);

  // The last close waits for the running request.
  shared.Hold(true);
  std::thread requester([&] { Fetch(session); });
  shared.WaitUntilWaiting();
  int endedWhenClosed = -1;
  const int endedBefore = shared.endedRequests;
  std::thread closer([&] { session.Close(), endedWhenClosed = shared.endedRequests - endedBefore; });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  shared.Hold(false);
  requester.join();
  closer.join();
  EXPECT_EQ(endedWhenClosed, 1);
  EXPECT_EQ(shared.usedAfterClose, 0);
  EXPECT_FALSE(session.IsOpen());
}

}  // namespace
}  // namespace velinst::http
