#include "http/http_session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <tuple>

#include "fake_transport.h"
#include "file_size_limit.h"
#include "http/serialized_http_session.h"
#include "test_support.h"

namespace velinst::http {
namespace {

using test::FakeLog;
using test::FakeScript;
using test::FakeTransport;
using ::testing::ElementsAre;

template <typename Session = CHttpSession>
struct Fixture {
  FakeScript script;
  FakeLog log;
  Session session{std::make_unique<FakeTransport>(script, log)};
  std::uint32_t length = 0, result = 0;

  Fixture() { script.reply.chunks = {"<rsp/>"}; }
  std::vector<std::string> CallsFrom(std::size_t first) const {
    return {log.calls.begin() + static_cast<std::ptrdiff_t>(first), log.calls.end()};
  }
  HttpBuffer Get() { return session.Request(length, "p", result); }
  char* Get(char* buffer, std::uint32_t size) { return session.Request(length, "p", result, buffer, size); }
  const void* PostData() {
    const void* data = this;
    std::uint32_t size = 1;
    session.GetPostData(data, size);
    return size == 0 ? data : this;
  }
};

TEST(HttpSession, OpenAppliesTimeoutsAndPortsAndFailsOnTransportFailure) {
  Fixture f;
  f.session.SetSendTimeout(3000);
  f.session.SetConnectTimeout(1000);
  ASSERT_TRUE(f.session.Open("service.example"));
  EXPECT_THAT(f.log.calls, ElementsAre("Open Microsoft Internet Explorer 5.5", "SetTimeout 0 1000", "SetTimeout 2 3000",
                                       "Connect service.example 0"));
  EXPECT_TRUE(f.session.Close());
  EXPECT_FALSE(f.session.Close());  // nothing open
  const struct {
    const char* host;
    bool secure;
    const char* connect;  // null: the open fails
  } cases[] = {{"service.example", true, "Connect service.example 443"},
               {"service.example:8443", true, "Connect service.example 8443"},
               {"[::1]:9000", false, "Connect ::1 9000"},
               {"service.example:0", false, nullptr},
               {"", false, nullptr}};
  for (const auto& c : cases) {
    Fixture g;
    g.session.SetSecure(c.secure);
    EXPECT_EQ(g.session.Open(c.host), c.connect != nullptr) << c.host;
    EXPECT_EQ(g.session.IsOpen(), c.connect != nullptr) << c.host;
    if (c.connect) {
      EXPECT_EQ(g.log.calls.back(), c.connect);
    }
  }
  Fixture timeout, connect;
  timeout.script.failTimeout = connect.script.failConnect = true;
  timeout.session.SetSendTimeout(10);
  EXPECT_FALSE(timeout.session.Open("h"));
  EXPECT_FALSE(connect.session.Open("h"));
}

TEST(HttpSession, RequestFlagsFollowSecureAndIgnoreCertErrors) {
  for (const auto& [secure, ignore, flags] :
       {std::tuple{false, true, 0x04400000u}, std::tuple{true, false, 0x04C00000u},
        std::tuple{true, true, 0x04C03000u}}) {
    Fixture f;
    f.session.SetSecure(secure);
    f.session.SetIgnoreCertErrors(ignore);
    ASSERT_TRUE(f.session.Open("h"));
    EXPECT_NE(f.Get(), nullptr);
    EXPECT_EQ(f.log.lastFlags, flags);
  }
}

TEST(HttpSession, GetRequestRunsThePartsInOrderAndKeepsTheReply) {
  Fixture f;
  f.script.reply.info = {{ReplyInfo::kContentType, "text/xml"},
                         {ReplyInfo::kContentDisposition, "inline"},
                         {ReplyInfo::kPragma, "status=OK;delay=5,6,7,8"},
                         {ReplyInfo::kStatusCode, "200"}};
  ASSERT_TRUE(f.session.Open("h"));
  const std::size_t first = f.log.calls.size();
  std::uint32_t length = 7, result = 7;
  const HttpBuffer body = f.session.Request(length, "WebServices/x?method=A", result);
  ASSERT_NE(body, nullptr);
  EXPECT_EQ(std::string(body.get()) + " " + std::to_string(length), "<rsp/> 6");
  EXPECT_EQ(result, 0x00890001u);
  EXPECT_THAT(f.CallsFrom(first),
              ElementsAre("OpenRequest GET WebServices/x?method=A", "AddHeader Connection: Keep-Alive\r\n", "Send",
                          "Query 0", "Query 1", "Query 2", "Read", "Read", "Query 4", "CloseRequest"));
  EXPECT_EQ(f.session.GetStatusCode(), 200);
  EXPECT_EQ(f.session.GetContentType() + " " + f.session.GetContentDisposition() + " " + f.session.GetStatusText(),
            "text/xml inline OK");
  EXPECT_EQ(f.session.GetDelay1() * 1000 + f.session.GetDelay2() * 100 + f.session.GetDelay4(), 5608);
  f.script.reply.info[ReplyInfo::kPragma] = "status=OK;delay=1";  // no comma: the delays stay
  f.Get();
  EXPECT_EQ(f.session.GetDelay1(), 5);
}

// The post data goes with one request only and is cleared even when nothing
// was sent; a failing step is tried four times with a sleep after each try.
TEST(HttpSession, FailingStepsAreRetriedAndPostDataIsUsedOnce) {
  const struct {
    int failingOpenRequests, failingSends;
    bool open, answered;
    std::size_t sleeps, sends;
  } cases[] = {{0, 0, true, true, 0, 1},
               {3, 0, true, true, 3, 1},
               {4, 0, true, false, 4, 0},
               {0, 4, true, false, 4, 4},
               {0, 0, false, false, 4, 0}};
  for (const auto& c : cases) {
    Fixture f;
    f.script.failingOpenRequests = c.failingOpenRequests;
    f.script.failingSends = c.failingSends;
    if (c.open) {
      ASSERT_TRUE(f.session.Open("h"));
    }
    f.session.SetPostData("body", 4);
    EXPECT_EQ(f.Get() != nullptr, c.answered);
    EXPECT_EQ(f.log.sleeps, std::vector<std::uint32_t>(c.sleeps, 100)) << c.failingOpenRequests << c.failingSends;
    EXPECT_EQ(f.log.sentBodies, std::vector<std::string>(c.sends, "body"));
    EXPECT_EQ(f.PostData(), nullptr);
    EXPECT_EQ(f.log.openRequests, 0);
    if (!c.answered) continue;
    f.Get();
    EXPECT_EQ(f.log.sentBodies.back(), "<null>");
  }
}

// Bodies of 0 bytes and of many reads come whole and terminated; a failed
// read gives nothing and closes the request.
TEST(HttpSession, BodiesArriveWholeAcrossReadsOrNotAtAll) {
  std::vector<std::string> large;
  for (int chunk = 0; chunk < 40; ++chunk) large.push_back(std::string(100000 + chunk, static_cast<char>('a' + chunk)));
  for (const std::vector<std::string>& chunks : {std::vector<std::string>{}, large}) {
    Fixture f;
    f.script.reply.chunks = chunks;
    ASSERT_TRUE(f.session.Open("h"));
    f.length = 9;
    const HttpBuffer body = f.Get();
    std::string expected;
    for (const std::string& chunk : chunks) expected += chunk;
    ASSERT_NE(body, nullptr);
    ASSERT_EQ(f.length, expected.size());
    EXPECT_TRUE(std::string(body.get(), f.length + 1) == expected + '\0');
  }
  Fixture f;
  f.script.reply.failRead = true;
  ASSERT_TRUE(f.session.Open("h"));
  EXPECT_EQ(f.Get(), nullptr);
  EXPECT_EQ(f.length, 0u);
  EXPECT_EQ(f.log.openRequests, 0);
}

TEST(HttpSession, CallerBuffersAreNeverWrittenPastTheirSize) {
  Fixture f;
  ASSERT_TRUE(f.session.Open("h"));
  char buffer[8] = "#######";
  EXPECT_EQ(f.Get(buffer, 5), nullptr);
  EXPECT_EQ(f.length, 6u);
  EXPECT_STREQ(buffer, "#######");
  EXPECT_EQ(f.Get(buffer, 6), buffer);
  EXPECT_EQ(std::string(buffer, 7), "<rsp/>#");

  f.session.SetAgent("agent");  // 5 characters: needs 6 usable bytes, size 7
  std::strcpy(buffer, "#######");
  EXPECT_FALSE(f.session.GetAgent(buffer, 6));
  EXPECT_FALSE(f.session.GetAgent(buffer, 0));
  EXPECT_STREQ(buffer, "#######");
  EXPECT_TRUE(f.session.GetAgent(buffer, 7));
  EXPECT_STREQ(buffer, "agent");
  f.script.reply.info[ReplyInfo::kPragma] = "status=OK";
  f.Get();
  std::strcpy(buffer, "#######");
  EXPECT_FALSE(f.session.GetStatusText(buffer, 2));
  EXPECT_EQ(buffer[0], '#');
  EXPECT_TRUE(f.session.GetStatusText(buffer, 3));
  EXPECT_STREQ(buffer, "OK");
}

TEST(HttpSession, RequestToFileWritesTheBodyOrNoFile) {
  velinst::test::TempDir folder;
  Fixture f;
  ASSERT_TRUE(f.session.Open("h"));
  const std::string file = folder.File("answer.xml");
  EXPECT_EQ(f.session.RequestToFile(file.c_str(), "p"), 6u);
  EXPECT_EQ(velinst::test::ReadWholeFile(file), "<rsp/>");
  EXPECT_EQ(f.session.RequestToFile(folder.File("missing/answer.xml").c_str(), "p"), 0u);
  f.script.reply.chunks = {std::string(1 << 20, 'x')};
  const std::string shortFile = folder.File("short.xml");
  {
    test::FileSizeLimit limit(64 * 1024);
    if (!limit.Applied()) GTEST_SKIP() << "no file size limit on this system";
    EXPECT_EQ(f.session.RequestToFile(shortFile.c_str(), "p"), 0u);
  }
  EXPECT_FALSE(velinst::test::FileExists(shortFile));
}

// Exists and IsModifiedSince read only the status; the date goes as GMT
// whatever zone it is shown in.
TEST(HttpSession, StatusOnlyRequests) {
  for (const auto& [status, yes] : {std::pair{"200", true}, std::pair{"404", false}, std::pair{"304", false}}) {
    Fixture f;
    f.script.reply.info[ReplyInfo::kStatusCode] = status;
    ASSERT_TRUE(f.session.Open("h"));
    const std::size_t first = f.log.calls.size();
    bool answer = !yes;
    if (status[0] != '3') {
      EXPECT_TRUE(f.session.Exists("p", answer));
      EXPECT_THAT(f.CallsFrom(first), ElementsAre("OpenRequest GET p", "AddHeader Connection: Keep-Alive\r\n", "Send",
                                                  "Query 4", "CloseRequest"));
    } else {
      CDateTime since(2024, 3, 5, 7, 8, 9, 0);
      since.ToLocal();
      EXPECT_TRUE(f.session.IsModifiedSince("p", since, answer));
      EXPECT_EQ(f.log.calls.at(first + 2), "AddHeader If-Modified-Since: Tue, 05 Mar 2024 07:08:09 GMT\r\n");
    }
    EXPECT_EQ(answer, yes) << status;
  }
  Fixture f;
  f.script.failingSends = 8;
  ASSERT_TRUE(f.session.Open("h"));
  bool answer = false;
  EXPECT_FALSE(f.session.Exists("p", answer));
  EXPECT_FALSE(f.session.IsModifiedSince("p", CDateTime(), answer));
}

TEST(HttpSession, ThreadsKeepTheirOwnRequestState) {
  Fixture f;
  f.session.SetRequireStatus(true);
  bool otherRequires = true;
  std::thread([&] { otherRequires = f.session.GetRequireStatus(); }).join();
  EXPECT_FALSE(otherRequires);
  EXPECT_TRUE(f.session.GetRequireStatus());
}

TEST(SerializedHttpSession, OnlyFirstOpenAndLastCloseAct) {
  Fixture<CSerializedHttpSession> f;
  ASSERT_TRUE(f.session.Open("h"));
  ASSERT_TRUE(f.session.Open("other"));
  EXPECT_EQ(std::count(f.log.calls.begin(), f.log.calls.end(), "Open Microsoft Internet Explorer 5.5"), 1);
  EXPECT_TRUE(f.session.Close());
  EXPECT_TRUE(f.session.IsOpen());
  EXPECT_TRUE(f.session.Close());
  EXPECT_FALSE(f.session.IsOpen());
  EXPECT_FALSE(f.session.Close());  // more closes than opens change nothing
  ASSERT_TRUE(f.session.Open("h"));
  EXPECT_TRUE(f.session.IsOpen());

  Fixture<CSerializedHttpSession> failed;  // an open that failed leaves the next one to try again
  failed.script.failConnect = true;
  EXPECT_FALSE(failed.session.Open("h"));
  failed.script.failConnect = false;
  EXPECT_TRUE(failed.session.Open("h"));
  EXPECT_TRUE(failed.session.IsOpen());
}

TEST(SerializedHttpSession, RequestsRunWithTheDefaultRequireStatus) {
  Fixture<CSerializedHttpSession> f;
  ASSERT_TRUE(f.session.Open("h"));
  f.session.SetRequireStatusDefault(true);
  EXPECT_NE(f.Get(), nullptr);
  EXPECT_EQ(f.result, 0x007D0000u);
  EXPECT_FALSE(f.session.GetRequireStatus());  // set back afterwards
  velinst::test::TempDir folder;
  EXPECT_EQ(f.session.RequestToFile(folder.File("a.xml").c_str(), "p"), 6u);
  char buffer[8];
  EXPECT_EQ(f.Get(buffer, sizeof buffer), buffer);
  EXPECT_EQ(f.result, 0x007D0000u);
}

}  // namespace
}  // namespace velinst::http
