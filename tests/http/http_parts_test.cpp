#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "http/host_text.h"
#include "http/http_buffer.h"
#include "http/http_session.h"
#include "http/payload_cipher.h"
#include "http/payload_key.h"
#include "http/redirect_rule.h"
#include "http/reply_protocol.h"
#include "http/serialized_http_session.h"

namespace velinst::http {
namespace {

TEST(ReplyProtocol, StatusAndErrorCodeMakeTheResult) {
  const std::string longText(100, 'A');  // item values are cut to 63 characters
  struct Case {
    std::string pragma;
    std::int32_t status;
    std::string text;
    std::uint32_t result;
  } cases[] = {
      {"status=" + longText + ";errorcode=5", kReplyOther, longText.substr(0, 63), 0x0005FFFF},
      {"status=OK", kReplyOk, "OK", 0x00890001},
      {"Status=OK", kReplyOk, "OK", 0x00890001},
      {"status=ok", kReplyOther, "ok", 0x0089FFFF},
      {"status=ERROR;errorcode=27", kReplyError, "ERROR", 0x001B0000},
      {"status=ERROR", kReplyError, "ERROR", 0x00890000},
      {"errorcode=27;status=OK", kReplyOk, "OK", 0x001B0001},
      {"no-cache", kReplyNoStatus, "", 0x00890088},
      {"", kReplyNoStatus, "", 0x00890088},
      {"status=", kReplyOther, "", 0x0089FFFF},
      {"status=OK ", kReplyOther, "OK ", 0x0089FFFF},
      {"no-cache, status=OK", kReplyOk, "OK", 0x00890001},
      {"Status=ERROR;status=OK", kReplyOk, "OK", 0x00890001},          // the lower-case key is looked for first
      {"status=OK;errorcode=65537", kReplyOk, "OK", 0x00010001},       // low 16 bits
      {"status=OK;errorcode=4294967297", kReplyOk, "OK", 0x00010001},  // 32-bit arithmetic
      {"status=OK;errorcode=-1", kReplyOk, "OK", 0xFFFF0001},
      {"status=OK;errorcode=abc", kReplyOk, "OK", 0x00000001},
      {"status=OK;errorcode=  +99999999999x", kReplyOk, "OK", 0xE7FF0001},  // C-library reading, wrapped
  };
  for (const Case& c : cases) {
    const ReplyProtocol reply = DecodeReplyProtocol(c.pragma);
    EXPECT_EQ(std::make_tuple(reply.status, reply.statusText, reply.result),
              std::make_tuple(c.status, c.text, c.result))
        << c.pragma;
  }
}

// Delays are assigned as far as the commas reach; commas past the cut assign nothing.
TEST(ReplyProtocol, DelayNumbersAreAssignedAsFarAsTheCommasReach) {
  const std::pair<std::string, std::vector<std::int32_t>> cases[] = {
      {"delay=5", {}},
      {"delay=5,6", {5}},
      {"delay=5,6,7", {5, 6}},
      {"delay=5,6,7,8", {5, 6, 7, 8}},
      {"delay=5,6,7,8,9", {5, 6, 7, 8}},
      {"status=OK;delay=1,2,3,4;errorcode=2", {1, 2, 3, 4}},
      {"delay=-3, 4,x,", {-3, 4, 0, 0}},
      {"delay=" + std::string(70, '1') + ",2", {}}};
  for (const auto& [pragma, delays] : cases) {
    const ReplyProtocol reply = DecodeReplyProtocol(pragma);
    EXPECT_EQ(std::vector<std::int32_t>(reply.delays.begin(), reply.delays.begin() + reply.delayCount), delays)
        << pragma;
  }
}

TEST(HostText, NameWithOptionalPortAndRefusals) {
  const struct {
    const char* text;
    const char* host;
    std::uint16_t port;
  } cases[] = {{"service.example", "service.example", 0},
               {"service.example:8080", "service.example", 8080},
               {"127.0.0.1:1", "127.0.0.1", 1},
               {"localhost:65535", "localhost", 65535},
               {"[::1]:8080", "::1", 8080},
               {"[::1]", "::1", 0},
               {"::1", "::1", 0},
               {"fe80::1:2", "fe80::1:2", 0}};
  for (const auto& c : cases) {
    const auto parsed = ParseHostText(c.text);
    EXPECT_TRUE(parsed && parsed->host == c.host && parsed->port == c.port) << c.text;
  }
  for (const char* text : {"", "host:", "host:0", "host:65536", "host:123456", "host:8o", "host:-1", ":80", "[::1",
                           "[::1]8080", "[::1]:", "[]:80", "host: 80"})
    EXPECT_FALSE(ParseHostText(text)) << text;
}

TEST(RedirectRule, HttpAndHttpsOnlyNeverDownAndBodiesStayOnTheirHost) {
  using Step = RedirectStep;
  struct Case {
    long status;
    UrlOrigin from, to;
    Step expected;
  } cases[] = {
      {302, {"http", "a.example"}, {"https", "b.example"}, Step::kGetWithoutBody},
      {301, {"https", "a.example"}, {"HTTPS", "b.example"}, Step::kGetWithoutBody},
      {303, {"http", "a.example"}, {"http", "a.example"}, Step::kGetWithoutBody},
      {301, {"https", "a.example"}, {"http", "a.example"}, Step::kStop},  // down to plain text
      {307, {"https", "a.example"}, {"http", "a.example"}, Step::kStop},
      {307, {"http", "a.example"}, {"https", "A.Example"}, Step::kRepeat},
      {308, {"http", "a.example"}, {"http", "a.example"}, Step::kRepeat},
      {307, {"http", "a.example"}, {"http", "b.example"}, Step::kStop},  // the body would go elsewhere
      {308, {"https", "a.example"}, {"https", "a.example.evil"}, Step::kStop},
      {302, {"http", "a.example"}, {"ftp", "a.example"}, Step::kStop},
      {302, {"http", "a.example"}, {"file", ""}, Step::kStop},
      {302, {"http", "a.example"}, {"httpx", "a.example"}, Step::kStop},
      {300, {"http", "a.example"}, {"http", "a.example"}, Step::kStop},
      {304, {"http", "a.example"}, {"http", "a.example"}, Step::kStop},
      {200, {"http", "a.example"}, {"http", "a.example"}, Step::kStop},
  };
  for (const Case& c : cases)
    EXPECT_EQ(NextRedirectStep(c.status, c.from, c.to), c.expected)
        << c.status << " " << c.from.scheme << "://" << c.from.host << " to " << c.to.scheme << "://" << c.to.host;
}

// Sizes at the top of size_t (4 GiB on the 32-bit DLL) are refused before
// any sum of them can wrap, and the body gathered so far stays whole.
TEST(BodyBuffer, ReservationsPastTheLimitAreRefusedWithoutWrapping) {
  BodyBuffer body;
  std::size_t room = 0;
  char* start = body.Reserve(5, room);
  ASSERT_NE(start, nullptr);
  const std::size_t capacity = room;
  std::memcpy(start, "a&b%<", 5);
  body.Commit(5);
  for (const std::size_t minimum : {SIZE_MAX, SIZE_MAX - 5, SIZE_MAX / 2, SIZE_MAX / 4}) {
    room = 7;
    EXPECT_EQ(body.Reserve(minimum, room), nullptr) << minimum;
    EXPECT_EQ(room, 7u) << minimum;
  }
  EXPECT_EQ(body.Size(), 5u);
  // One request for far more than the buffer holds grows it as far as needed.
  const std::size_t wanted = 5 * (capacity + 1);
  start = body.Reserve(wanted, room);
  ASSERT_NE(start, nullptr);
  ASSERT_GE(room, wanted);
  std::memset(start, 'x', wanted);
  body.Commit(wanted);
  const HttpBuffer whole = body.Release();
  ASSERT_NE(whole, nullptr);
  EXPECT_EQ(std::string(whole.get()), "a&b%<" + std::string(wanted, 'x'));
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  char digits[3];
  for (const std::uint8_t byte : bytes) std::snprintf(digits, sizeof digits, "%02x", byte), text += digits;
  return text;
}

// The two calls a request makes: the length, then the ciphertext.
std::vector<std::uint8_t> EncryptText(CPayloadCipher& cipher, const std::string& plain) {
  std::uint32_t length = 0;
  EXPECT_TRUE(cipher.Encrypt(plain.data(), static_cast<std::uint32_t>(plain.size()), nullptr, length));
  std::vector<std::uint8_t> cipherText(length);
  EXPECT_TRUE(cipher.Encrypt(plain.data(), static_cast<std::uint32_t>(plain.size()), cipherText.data(), length));
  EXPECT_EQ(length, cipherText.size());
  return cipherText;
}

TEST(PayloadCipher, KnownAnswerPaddedRoundTripsAndRefusals) {
  CPayloadCipher cipher(PayloadKeyMaterial());
  ASSERT_TRUE(cipher.IsReady());
  EXPECT_EQ(Hex(EncryptText(cipher, "&username=bob&password=secret1")),
            "ce7284729763f5eb74fd0c8b71a880483751afd2caeeb87e3b4da4b241e84e18");
  for (const char* key : {"", "K3yM4t3", "K3yM4t3rX"}) {
    CPayloadCipher bad(key);
    std::uint32_t length = 0;
    EXPECT_FALSE(bad.IsReady() || bad.Encrypt("abc", 3, nullptr, length)) << key;
  }
  // Padding always adds to the last block; a destination one byte short is
  // refused and left alone; decryption gives the text back and refuses a
  // ciphertext of broken blocks or padding.
  for (const auto& [plain, expected] :
       {std::pair{0u, 8u}, std::pair{7u, 8u}, std::pair{8u, 16u}, std::pair{30u, 32u}}) {
    const std::string text(plain, '&');
    std::vector<std::uint8_t> cipherText = EncryptText(cipher, text);
    EXPECT_EQ(cipherText.size(), expected) << plain;
    std::vector<std::uint8_t> out(expected, 0xEE);
    std::uint32_t length = expected - 1;
    EXPECT_FALSE(cipher.Encrypt(text.data(), plain, out.data(), length)) << plain;
    EXPECT_EQ(out[0], 0xEE) << plain;

    std::vector<char> back(expected);
    length = expected;
    ASSERT_TRUE(cipher.Decrypt(cipherText.data(), expected, back.data(), length)) << plain;
    EXPECT_EQ(std::string(back.data(), length), text);
    length = expected;
    EXPECT_FALSE(cipher.Decrypt(cipherText.data(), expected - 1, back.data(), length)) << plain;
    cipherText.back() ^= 0x55;
    length = expected;
    EXPECT_FALSE(cipher.Decrypt(cipherText.data(), expected, back.data(), length)) << plain;
  }
}

// The session used from several threads at once: opening, closing and
// requesting on one session never pulls a handle from under a request, and
// the serialized variant runs one request at a time.
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
