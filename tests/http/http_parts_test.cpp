// The small parts of a request: the reply's protocol items, host texts,
// redirect rules and the body buffer.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "http/host_text.h"
#include "http/http_buffer.h"
#include "http/redirect_rule.h"
#include "http/reply_protocol.h"

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
      {307, {"http", "a.example"}, {"https", "A.Example"}, Step::kRepeat},
      {308, {"http", "a.example"}, {"http", "a.example"}, Step::kRepeat},
      {307, {"http", "a.example"}, {"http", "b.example"}, Step::kStop},  // the body would go elsewhere
      {308, {"https", "a.example"}, {"https", "a.example.evil"}, Step::kStop},
      {302, {"http", "a.example"}, {"ftp", "a.example"}, Step::kStop},
      {302, {"http", "a.example"}, {"httpx", "a.example"}, Step::kStop},
      {300, {"http", "a.example"}, {"http", "a.example"}, Step::kStop},
      {304, {"http", "a.example"}, {"http", "a.example"}, Step::kStop},
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

}  // namespace
}  // namespace velinst::http
