// The session against the scripted test server over loopback: the
// platform's real transport (WinInet under wine, libcurl on the host).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "file_size_limit.h"
#include "http/http_session.h"
#include "test_server_client.h"
#include "test_support.h"
#include "transport_quirks.h"

// Scripted answers name only the fields they change; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace velinst::http {
namespace {

using testserver::ScriptedAnswer;

constexpr const char* kLoginPath = "WebServices/Api/Rest/RestHandler.ashx?method=Account.Login&a=1";

class HttpServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.Ready()) << "no test server: its port file " << VELINST_TESTSERVER_PORT_FILE;
    ASSERT_TRUE(session_.Open(server_.HostText().c_str()));
  }

  std::string Get(const char* path, std::uint32_t& result) {
    std::uint32_t length = 0;
    const HttpBuffer body = session_.Request(length, path, result);
    return body ? std::string(body.get(), length) : "<null>";
  }

  test::TestServerClient server_;
  CHttpSession session_;
};

TEST_F(HttpServerTest, GetDeliversBodyStatusAndContentTypeAndNotFoundOrEmptyBodies) {
  ScriptedAnswer answer = test::OkAnswer("<rsp status=\"ok\"/>");
  answer.contentType = "text/xml; charset=utf-8";
  answer.headers = {{"Content-Disposition", "attachment; filename=a.xml"}};
  server_.Answer("Account.Login", answer);
  std::uint32_t result = 0;
  EXPECT_EQ(Get(kLoginPath, result), "<rsp status=\"ok\"/>");
  EXPECT_EQ(result, 0x00890001u);
  EXPECT_EQ(std::to_string(session_.GetStatusCode()) + "|" + session_.GetContentType() + "|" +
                session_.GetContentDisposition() + "|" + session_.GetStatusText(),
            "200|text/xml; charset=utf-8|attachment; filename=a.xml|OK");

  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].verb + " " + requests[0].target + "|" + requests[0].Header("User-Agent"),
            std::string("GET /") + kLoginPath + "|Microsoft Internet Explorer 5.5");
  EXPECT_THAT(requests[0].Header("Connection"), ::testing::StrCaseEq("Keep-Alive"));

  // Not-found and empty bodies are still read.
  EXPECT_EQ(Get("nothing/here", result), "not scripted\n");
  EXPECT_EQ(session_.GetStatusCode(), 404);
  EXPECT_EQ(result, 0u);
  bool exists = true;
  EXPECT_TRUE(session_.Exists("nothing/here", exists));
  EXPECT_FALSE(exists);

  server_.Answer("/empty", test::OkAnswer(""));
  EXPECT_TRUE(session_.Exists("empty", exists));
  EXPECT_TRUE(exists);
  std::uint32_t length = 9;
  const HttpBuffer body = session_.Request(length, "empty", result);
  ASSERT_NE(body, nullptr);
  EXPECT_EQ(length, 0u);
  EXPECT_EQ(body[0], '\0');
  velinst::test::TempDir folder;
  EXPECT_EQ(session_.RequestToFile(folder.File("a.xml").c_str(), "empty"), 0u);
}

TEST_F(HttpServerTest, PragmaVariantsAndRequireStatus) {
  struct Case {
    std::optional<std::string> pragma;
    bool requireStatus;
    std::uint32_t result;
    const char* body;
  } cases[] = {{std::nullopt, false, 0, "b"},
               {std::nullopt, true, 0x007D0000, "b"},
               {"status=ERROR;errorcode=27", false, 0x001B0000, "<null>"},
               {"no-cache;status=OK;delay=1,2,3,4", false, 0x00890001, "b"},
               // The header is read into 2048 bytes: one that does not fit counts as absent.
               {"status=OK;" + std::string(2037, 'x'), false, 0x00890001, "b"},
               {"status=OK;" + std::string(2038, 'x'), false, 0, "b"}};
  for (const Case& c : cases) {
    server_.Answer("/pragma", {.pragma = c.pragma, .body = "b"});
    session_.SetRequireStatus(c.requireStatus);
    std::uint32_t result = 0;
    const std::string label = c.pragma.value_or("<none>").substr(0, 40);
    EXPECT_EQ(Get("pragma", result), c.body) << label;
    EXPECT_EQ(result, c.result) << label;
    server_.Reset();
  }
  EXPECT_EQ(session_.GetDelay1(), 1);
  EXPECT_EQ(session_.GetDelay4(), 4);
}

// A caller's buffer is never written past its size, and a file is written
// whole or not at all.
TEST_F(HttpServerTest, CallerBuffersAndFilesTakeTheWholeBodyOrNothing) {
  server_.Answer("/six", test::OkAnswer("<rsp/>"));
  char buffer[8] = "#######";
  std::uint32_t length = 0, result = 0;
  EXPECT_EQ(session_.Request(length, "six", result, buffer, 5), nullptr);
  EXPECT_EQ(length, 6u);
  EXPECT_STREQ(buffer, "#######");
  EXPECT_EQ(session_.Request(length, "six", result, buffer, 6), buffer);
  EXPECT_EQ(std::string(buffer, 7), "<rsp/>#");
  std::strcpy(buffer, "#######");
  EXPECT_FALSE(session_.GetStatusText(buffer, 2));
  EXPECT_EQ(buffer[0], '#');
  EXPECT_TRUE(session_.GetStatusText(buffer, 3));
  EXPECT_STREQ(buffer, "OK");
  session_.SetAgent("agent");  // 5 characters: size 7 for 6 usable bytes
  std::strcpy(buffer, "#######");
  EXPECT_FALSE(session_.GetAgent(buffer, 6) || session_.GetAgent(buffer, 0));
  EXPECT_STREQ(buffer, "#######");
  EXPECT_TRUE(session_.GetAgent(buffer, 7));
  EXPECT_STREQ(buffer, "agent");

  const ScriptedAnswer large{.pragma = "status=OK", .generatedSize = 5 * 1024 * 1024 + 3};
  server_.Answer("/large", large);
  velinst::test::TempDir folder;
  const std::string file = folder.File("large.bin");
  ASSERT_EQ(session_.RequestToFile(file.c_str(), "large"), large.generatedSize);
  const std::string body = velinst::test::ReadWholeFile(file);
  ASSERT_EQ(body.size(), large.generatedSize);
  for (std::size_t offset = 0; offset < body.size(); offset += 4099)
    ASSERT_EQ(body[offset], testserver::GeneratedByte(offset)) << offset;
  EXPECT_EQ(session_.RequestToFile(folder.File("missing/answer.xml").c_str(), "six"), 0u);
  const std::string shortFile = folder.File("short.xml");
  {
    test::FileSizeLimit limit(64 * 1024);  // a full disk
    if (!limit.Applied()) GTEST_SKIP() << "no file size limit on this system";
    EXPECT_EQ(session_.RequestToFile(shortFile.c_str(), "large"), 0u);
  }
  EXPECT_FALSE(velinst::test::FileExists(shortFile));
}

TEST_F(HttpServerTest, PostBodiesArriveIntact) {
  std::string document;
  for (int i = 0; i < 300000; ++i) document += static_cast<char>(i * 7 % 256);
  server_.Answer("Trip.Save", test::OkAnswer("<rsp/>"));
  for (const std::string& sent : {document, std::string("<trip name=\"a b\"/>"), std::string(), std::string("-")}) {
    if (sent != "-") session_.SetPostData(sent.data(), static_cast<std::uint32_t>(sent.size()));
    std::uint32_t result = 0;
    EXPECT_EQ(Get("WebServices/Api/Rest/RestHandler.ashx?method=Trip.Save", result), "<rsp/>");
  }
  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_TRUE(requests[0].body == document) << "the binary body changed on the way";
  EXPECT_EQ(requests[1].body, "<trip name=\"a b\"/>");
  // An empty post is still a POST; the post data goes with one request only.
  EXPECT_EQ(requests[0].verb + requests[1].verb + requests[2].verb + requests[3].verb + requests[3].body,
            "POSTPOSTPOSTGET");
}

// More requests at once than the transport keeps handles for, twice over:
// handles that come back from one round serve the next, and every thread
// sees the status and type of its own reply.
TEST_F(HttpServerTest, ManyThreadsShareTheSessionRoundAfterRound) {
  constexpr int kThreads = 12;
  using Seen = std::tuple<std::int32_t, std::string, std::string>;
  auto expected = [](int i) {
    return i % 2 ? Seen(404, "text/plain", "no" + std::to_string(i))
                 : Seen(200, "text/xml", "<t" + std::to_string(i) + "/>");
  };
  for (int i = 0; i < kThreads; ++i) {
    const auto [status, type, body] = expected(i);
    server_.Answer("/t" + std::to_string(i), {.status = status, .contentType = type, .body = body, .delayMs = 100});
  }
  for (int round = 0; round < 2; ++round) {
    std::vector<Seen> seen(kThreads);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
      threads.emplace_back([&, i] {
        std::uint32_t result = 0;
        const std::string body = Get(("t" + std::to_string(i)).c_str(), result);
        seen[i] = {session_.GetStatusCode(), session_.GetContentType(), body};
      });
    for (std::thread& thread : threads) thread.join();
    for (int i = 0; i < kThreads; ++i) EXPECT_EQ(seen[i], expected(i)) << round << " " << i;
  }
  EXPECT_EQ(session_.GetStatusCode(), 0);  // this thread sent nothing
}

TEST_F(HttpServerTest, RedirectsFollowOnlyTheRule) {
  if (!test::PlatformTransportQuirks().appliesRedirectRule) GTEST_SKIP() << "the transport has its own rule";
  const std::string port = std::to_string(server_.Port());
  const std::string sameHost = "http://127.0.0.1:" + port + "/landed";
  const std::string otherHost = "http://localhost:" + port + "/landed";
  struct Case {
    int status;
    std::string location;
    std::string expectedBody;  // the body the request ends with
    int expectedStatus;
    std::vector<std::string> expectedVerbs;  // of the requests the server saw
  } cases[] = {
      {307, otherHost, "moved", 307, {"POST"}},  // the body is not posted to another host
      {307, sameHost, "landed", 200, {"POST", "POST"}},
      {308, "/landed", "landed", 200, {"POST", "POST"}},
      {303, sameHost, "landed", 200, {"POST", "GET"}},
      {301, "ftp://127.0.0.1:" + port + "/landed", "moved", 301, {"POST"}},
      {302, "file:///etc/passwd", "moved", 302, {"POST"}},
  };
  const std::string sent = "secret=a b&c+d%25<>\"'";
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.status << " to " << c.location);
    server_.Reset();
    server_.Answer("/landed", test::OkAnswer("landed"));
    server_.Answer("/moving", {.status = c.status, .headers = {{"Location", c.location}}, .body = "moved"});
    session_.SetPostData(sent.data(), static_cast<std::uint32_t>(sent.size()));
    std::uint32_t result = 0;
    EXPECT_EQ(Get("moving", result), c.expectedBody);
    EXPECT_EQ(session_.GetStatusCode(), c.expectedStatus);
    std::vector<std::string> verbs;
    for (const auto& request : server_.Requests()) {
      verbs.push_back(request.verb);
      EXPECT_EQ(request.body, request.verb == "POST" ? sent : "") << request.target;
      EXPECT_EQ(request.Header("Upgrade"), "") << "HTTP/1.1 only";
    }
    EXPECT_EQ(verbs, c.expectedVerbs);
  }
}

TEST_F(HttpServerTest, ConditionalRequestDroppedConnectionAndStalledServer) {
  server_.Answer("/trips", {.status = 304, .contentType = ""});
  bool modified = true;
  // A time shown in local summer time still goes as GMT.
  CDateTime summer(2024, 7, 5, 7, 8, 9, 0);
  summer.ToLocal();
  ASSERT_TRUE(session_.IsModifiedSince("trips", summer, modified));
  EXPECT_FALSE(modified);
  const auto requests = server_.Requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.back().Header("If-Modified-Since"), "Fri, 05 Jul 2024 07:08:09 GMT");
  EXPECT_THAT(requests.back().Header("Connection"), ::testing::StrCaseEq("Keep-Alive"));

  server_.Answer("/dated", {.headers = {{"Last-Modified", "Mon, 01 Jan 2024 00:00:01 GMT"}}, .body = "x"});
  ASSERT_TRUE(session_.IsModifiedSince("dated", CDateTime(2023, 12, 31, 23, 59, 58, 0), modified));
  EXPECT_TRUE(modified);
  CDateTime when;
  ASSERT_TRUE(session_.GetLastModified("dated", when));
  EXPECT_EQ(when, CDateTime(2024, 1, 1, 0, 0, 1, 0));
  // A dropped connection is retried; a stalled server times out.
  const ScriptedAnswer drop{.drop = true};
  server_.Answer("/flaky", drop);
  server_.Answer("/flaky", test::OkAnswer("fine"));
  std::uint32_t result = 0;
  EXPECT_EQ(Get("flaky", result), "fine");
  EXPECT_GE(server_.Requests().size(), 2u);

  server_.Reset();
  server_.Answer("/dead", drop);
  const std::string dead = Get("dead", result);
  if (test::PlatformTransportQuirks().deadServerFailsSend) {
    EXPECT_EQ(dead, "<null>");
    EXPECT_GE(server_.Requests().size(), 4u);  // every send was tried
  }

  // A stalled server: the request gives up after the receive timeout.
  if (!test::PlatformTransportQuirks().honoursReceiveTimeout) return;  // the transport ignores the timeout
  CHttpSession impatient;
  impatient.SetReceiveTimeout(300);
  ASSERT_TRUE(impatient.Open(server_.HostText().c_str()));
  server_.Answer("/stalled", {.body = "late", .delayMs = 2500});
  const auto start = std::chrono::steady_clock::now();
  std::uint32_t length = 0;
  EXPECT_EQ(impatient.Request(length, "stalled", result), nullptr);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2400));
}

}  // namespace
}  // namespace velinst::http
