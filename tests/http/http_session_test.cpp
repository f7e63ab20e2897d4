#include "http/http_session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <thread>

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
using ::testing::HasSubstr;

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
};

TEST(HttpSession, OpenAppliesTimeoutsInOrderAndConnectsToDefaultPort) {
  Fixture f;
  f.session.SetSendTimeout(3000);
  f.session.SetConnectTimeout(1000);
  ASSERT_TRUE(f.session.Open("service.example"));
  EXPECT_THAT(f.log.calls, ElementsAre("Open Microsoft Internet Explorer 5.5", "SetTimeout 0 1000", "SetTimeout 2 3000",
                                       "Connect service.example 0"));
  EXPECT_TRUE(f.session.Close());
}

TEST(HttpSession, PortComesFromHostTextOrSecureDefaultAndBadPortsFail) {
  const struct {
    const char* host;
    bool secure;
    const char* name;  // null: the open fails
    std::uint16_t port;
  } cases[] = {{"service.example", true, "service.example", 443},
               {"service.example:8080", false, "service.example", 8080},
               {"service.example:8443", true, "service.example", 8443},
               {"[::1]:9000", false, "::1", 9000},
               {"::1", false, "::1", 0},
               {"service.example:0", false, nullptr, 0},
               {"service.example:65536", false, nullptr, 0},
               {"service.example:x", false, nullptr, 0},
               {"", false, nullptr, 0}};
  for (const auto& c : cases) {
    Fixture f;
    f.session.SetSecure(c.secure);
    EXPECT_EQ(f.session.Open(c.host), c.name != nullptr) << c.host;
    EXPECT_EQ(f.session.IsOpen(), c.name != nullptr) << c.host;
    if (c.name == nullptr) continue;
    EXPECT_EQ(f.log.lastHost, c.name) << c.host;
    EXPECT_EQ(f.log.lastPort, c.port) << c.host;
  }
}

TEST(HttpSession, OpenFailsOnTransportFailure) {
  Fixture timeout;
  timeout.script.failTimeout = true;
  timeout.session.SetSendTimeout(10);
  EXPECT_FALSE(timeout.session.Open("h"));
  Fixture connect;
  connect.script.failConnect = true;
  EXPECT_FALSE(connect.session.Open("h"));
  EXPECT_FALSE(connect.session.Close());  // nothing open
}

TEST(HttpSession, RequestFlagsFollowSecureAndIgnoreCertErrors) {
  struct Case {
    bool secure, ignore;
    std::uint32_t flags;
  } cases[] = {
      {false, false, 0x04400000}, {false, true, 0x04400000}, {true, false, 0x04C00000}, {true, true, 0x04C03000}};
  for (const Case& c : cases) {
    Fixture f;
    f.session.SetSecure(c.secure);
    f.session.SetIgnoreCertErrors(c.ignore);
    ASSERT_TRUE(f.session.Open("h"));
    EXPECT_NE(f.Get(), nullptr);
    EXPECT_EQ(f.log.lastFlags, c.flags);
  }
}

TEST(HttpSession, GetRequestRunsThePartsInOrder) {
  Fixture f;
  f.script.reply.info = {{ReplyInfo::kContentType, "text/xml"},
                         {ReplyInfo::kContentDisposition, "inline"},
                         {ReplyInfo::kPragma, "status=OK"},
                         {ReplyInfo::kStatusCode, "200"}};
  ASSERT_TRUE(f.session.Open("h"));
  const std::size_t first = f.log.calls.size();
  std::uint32_t length = 7, result = 7;
  const HttpBuffer body = f.session.Request(length, "WebServices/x?method=A", result);
  ASSERT_NE(body, nullptr);
  EXPECT_EQ(std::string(body.get()), "<rsp/>");
  EXPECT_EQ(length, 6u);
  EXPECT_EQ(result, 0x00890001u);
  EXPECT_THAT(f.CallsFrom(first),
              ElementsAre("OpenRequest GET WebServices/x?method=A", "AddHeader Connection: Keep-Alive\r\n", "Send",
                          "Query 0", "Query 1", "Query 2", "Read", "Read", "Query 4", "CloseRequest"));
  EXPECT_EQ(f.session.GetStatusCode(), 200);
  EXPECT_EQ(f.session.GetContentType(), "text/xml");
  EXPECT_EQ(f.session.GetContentDisposition(), "inline");
  EXPECT_EQ(f.session.GetStatusText(), "OK");
}

TEST(HttpSession, PostDataGoesWithOneRequestOnly) {
  Fixture f;
  ASSERT_TRUE(f.session.Open("h"));
  const std::string document = "<trip/>";
  f.session.SetPostData(document.data(), static_cast<std::uint32_t>(document.size()));
  f.Get();
  f.Get();
  EXPECT_THAT(f.log.sentBodies, ElementsAre("<trip/>", "<null>"));
  EXPECT_EQ(f.log.calls[f.log.calls.size() - 10], "OpenRequest GET p");
  const void* data = &f;
  std::uint32_t size = 1;
  f.session.GetPostData(data, size);
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(size, 0u);
}

TEST(HttpSession, OpenRequestIsTriedFourTimesWithSleeps) {
  Fixture f;
  f.script.failingOpenRequests = 3;
  ASSERT_TRUE(f.session.Open("h"));
  EXPECT_NE(f.Get(), nullptr);
  EXPECT_THAT(f.log.sleeps, ElementsAre(100, 100, 100));

  f.script.failingOpenRequests = 4;
  f.log.sleeps.clear();
  const std::string document = "x";
  f.session.SetPostData(document.data(), 1);
  EXPECT_EQ(f.Get(), nullptr);
  EXPECT_THAT(f.log.sleeps, ElementsAre(100, 100, 100, 100));  // also after the fourth
  const void* data = &f;
  std::uint32_t size = 1;
  f.session.GetPostData(data, size);
  EXPECT_EQ(data, nullptr);  // cleared although nothing was sent
}

TEST(HttpSession, SendIsTriedFourTimesThenTheRequestIsClosed) {
  Fixture f;
  f.script.failingSends = 4;
  ASSERT_TRUE(f.session.Open("h"));
  const std::string document = "body";
  f.session.SetPostData(document.data(), 4);
  EXPECT_EQ(f.Get(), nullptr);
  EXPECT_THAT(f.log.sleeps, ElementsAre(100, 100, 100, 100));
  EXPECT_THAT(f.log.sentBodies, ElementsAre("body", "body", "body", "body"));
  EXPECT_EQ(f.log.calls.back(), "CloseRequest");
  EXPECT_EQ(f.log.openRequests, 0);
}

TEST(HttpSession, ClosedSessionFailsAtOpeningTheRequest) {
  Fixture f;
  EXPECT_EQ(f.Get(), nullptr);
  EXPECT_THAT(f.log.sleeps, ElementsAre(100, 100, 100, 100));
}

TEST(HttpSession, ReplyProtocolDecidesResultAndWhetherTheBodyIsRead) {
  struct Case {
    std::optional<std::string> pragma;
    bool requireStatus;
    std::uint32_t result;
    bool bodyRead;
    const char* statusText;
  } cases[] = {
      {std::nullopt, false, 0, true, ""},
      {std::nullopt, true, 0x007D0000, true, ""},
      {"status=OK", false, 0x00890001, true, "OK"},
      {"Status=OK", false, 0x00890001, true, "OK"},
      {"status=ok", false, 0x0089FFFF, true, "ok"},
      {"status=ERROR;errorcode=27", false, 0x001B0000, false, "ERROR"},
      {"status=ERROR", true, 0x00890000, false, "ERROR"},
      {"no-cache", false, 0x00890088, true, ""},
      {std::string(2047, 'x'), false, 0x00890088, true, ""},
      {std::string(2048, 'x'), false, 0, true, ""},  // does not fit: as if absent
  };
  for (const Case& c : cases) {
    Fixture f;
    if (c.pragma) f.script.reply.info[ReplyInfo::kPragma] = *c.pragma;
    f.script.reply.info[ReplyInfo::kStatusCode] = "200";
    ASSERT_TRUE(f.session.Open("h"));
    f.session.SetRequireStatus(c.requireStatus);
    const HttpBuffer body = f.Get();
    const std::string label = c.pragma.value_or("<none>").substr(0, 40);
    EXPECT_EQ(f.result, c.result) << label;
    EXPECT_EQ(body != nullptr, c.bodyRead) << label;
    EXPECT_EQ(f.length, c.bodyRead ? 6u : 0u) << label;
    EXPECT_EQ(f.session.GetStatusText(), c.statusText) << label;
    EXPECT_EQ(std::count(f.log.calls.begin(), f.log.calls.end(), "Read") > 0, c.bodyRead) << label;
    EXPECT_EQ(f.session.GetStatusCode(), c.bodyRead ? 200 : 0) << label;
  }
}

TEST(HttpSession, DelayItemIsKeptBySession) {
  Fixture f;
  f.script.reply.info[ReplyInfo::kPragma] = "status=OK;delay=5,6,7,8";
  ASSERT_TRUE(f.session.Open("h"));
  f.Get();
  EXPECT_EQ(f.session.GetDelay1(), 5);
  EXPECT_EQ(f.session.GetDelay2(), 6);
  EXPECT_EQ(f.session.GetDelay4(), 8);
  f.script.reply.info[ReplyInfo::kPragma] = "status=OK;delay=1";  // no comma: nothing changes
  f.Get();
  EXPECT_EQ(f.session.GetDelay1(), 5);
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
    EXPECT_TRUE(std::string(body.get(), f.length) == expected);
    EXPECT_EQ(body[f.length], '\0');
  }
  Fixture f;
  f.script.reply.failRead = true;
  ASSERT_TRUE(f.session.Open("h"));
  EXPECT_EQ(f.Get(), nullptr);
  EXPECT_EQ(f.length, 0u);
  EXPECT_EQ(f.log.openRequests, 0);
}

TEST(HttpSession, CallerBufferReceivesBodyOnlyWhenItFits) {
  Fixture f;
  ASSERT_TRUE(f.session.Open("h"));
  char buffer[8];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(f.Get(buffer, 5), nullptr);
  EXPECT_EQ(f.length, 6u);
  EXPECT_EQ(std::string(buffer, 8), "########");
  EXPECT_EQ(f.Get(buffer, 6), buffer);
  EXPECT_EQ(std::string(buffer, 8), "<rsp/>##");
}

TEST(HttpSession, CopyingGettersNeverWritePastTheirSize) {
  Fixture f;
  f.session.SetAgent("agent");  // 5 characters: needs 6 usable bytes, size 7
  char buffer[16];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_FALSE(f.session.GetAgent(buffer, 6));
  EXPECT_EQ(buffer[0], '#');
  EXPECT_TRUE(f.session.GetAgent(buffer, 7));
  EXPECT_STREQ(buffer, "agent");
  EXPECT_FALSE(f.session.GetAgent(buffer, 0));

  f.script.reply.info[ReplyInfo::kPragma] = "status=OK";
  ASSERT_TRUE(f.session.Open("h"));
  f.Get();
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_FALSE(f.session.GetStatusText(buffer, 2));
  EXPECT_EQ(buffer[0], '#');
  EXPECT_TRUE(f.session.GetStatusText(buffer, 3));
  EXPECT_STREQ(buffer, "OK");
}

TEST(HttpSession, RequestToFileWritesBodyOrNothing) {
  velinst::test::TempDir folder;
  Fixture f;
  ASSERT_TRUE(f.session.Open("h"));
  const std::string file = folder.File("answer.xml");
  EXPECT_EQ(f.session.RequestToFile(file.c_str(), "p"), 6u);
  EXPECT_EQ(velinst::test::ReadWholeFile(file), "<rsp/>");

  EXPECT_EQ(f.session.RequestToFile(folder.File("missing/answer.xml").c_str(), "p"), 0u);

  f.script.reply.chunks.clear();
  EXPECT_EQ(f.session.RequestToFile(folder.File("empty.xml").c_str(), "p"), 0u);
}

TEST(HttpSession, RequestToFileRemovesAShortFile) {
  velinst::test::TempDir folder;
  Fixture f;
  f.script.reply.chunks = {std::string(1 << 20, 'x')};
  ASSERT_TRUE(f.session.Open("h"));
  const std::string file = folder.File("answer.xml");
  std::uint32_t written = 0;
  {
    test::FileSizeLimit limit(64 * 1024);
    if (!limit.Applied()) GTEST_SKIP() << "no file size limit on this system";
    written = f.session.RequestToFile(file.c_str(), "p");
  }
  EXPECT_EQ(written, 0u);
  EXPECT_FALSE(velinst::test::FileExists(file));
}

TEST(HttpSession, ExistsReadsOnlyTheStatus) {
  for (const auto& [status, exists] : {std::pair{"200", true}, std::pair{"404", false}}) {
    Fixture f;
    f.script.reply.info[ReplyInfo::kStatusCode] = status;
    ASSERT_TRUE(f.session.Open("h"));
    const std::size_t first = f.log.calls.size();
    bool found = !exists;
    EXPECT_TRUE(f.session.Exists("p", found));
    EXPECT_EQ(found, exists);
    EXPECT_THAT(f.CallsFrom(first), ElementsAre("OpenRequest GET p", "AddHeader Connection: Keep-Alive\r\n", "Send",
                                                "Query 4", "CloseRequest"));
  }
  Fixture f;
  f.script.failingSends = 4;
  ASSERT_TRUE(f.session.Open("h"));
  bool found = true;
  EXPECT_FALSE(f.session.Exists("p", found));
}

TEST(HttpSession, IfModifiedSinceCarriesTheHttpDateInUtc) {
  for (const auto& [status, modified] : {std::pair{"304", false}, std::pair{"200", true}}) {
    Fixture f;
    f.script.reply.info[ReplyInfo::kStatusCode] = status;
    ASSERT_TRUE(f.session.Open("h"));
    const std::size_t first = f.log.calls.size();
    CDateTime since(2024, 3, 5, 7, 8, 9, 0);
    since.ToLocal();  // shown in local time: still sent as GMT
    bool changed = !modified;
    EXPECT_TRUE(f.session.IsModifiedSince("p", since, changed));
    EXPECT_EQ(changed, modified);
    EXPECT_THAT(f.CallsFrom(first), ElementsAre("OpenRequest GET p", "AddHeader Connection: Keep-Alive\r\n",
                                                "AddHeader If-Modified-Since: Tue, 05 Mar 2024 07:08:09 GMT\r\n",
                                                "Send", "Query 4", "CloseRequest"));
  }
  Fixture f;
  f.script.failingSends = 4;
  ASSERT_TRUE(f.session.Open("h"));
  bool changed = false;
  EXPECT_FALSE(f.session.IsModifiedSince("p", CDateTime(), changed));
}

TEST(HttpSession, LastModifiedIsParsedBack) {
  Fixture f;
  ASSERT_TRUE(f.session.Open("h"));
  CDateTime when;
  EXPECT_FALSE(f.session.GetLastModified("p", when));  // no header
  f.script.reply.info[ReplyInfo::kLastModified] = "Wed, 21 Oct 2015 07:28:00 GMT";
  ASSERT_TRUE(f.session.GetLastModified("p", when));
  EXPECT_EQ(when, CDateTime(2015, 10, 21, 7, 28, 0, 0));
  f.script.reply.info[ReplyInfo::kLastModified] = "yesterday";
  const CDateTime before = when;
  EXPECT_FALSE(f.session.GetLastModified("p", when));
  EXPECT_EQ(when, before);
}

TEST(HttpSession, ThreadsKeepTheirOwnRequestState) {
  Fixture f;
  ASSERT_TRUE(f.session.Open("h"));
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
