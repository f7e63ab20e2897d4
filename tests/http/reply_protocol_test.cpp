#include "http/reply_protocol.h"

#include <gtest/gtest.h>

#include <tuple>

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
    EXPECT_EQ(std::make_tuple(reply.status, reply.statusText, reply.result), std::make_tuple(c.status, c.text, c.result))
        << c.pragma;
  }
}

TEST(ReplyProtocol, DelayNumbersAreAssignedAsFarAsTheCommasReach) {
  struct Case {
    std::string pragma;
    int count;
    std::array<std::int32_t, 4> delays;
  } cases[] = {
      {"delay=5", 0, {0, 0, 0, 0}},         {"delay=5,6", 1, {5, 0, 0, 0}},
      {"delay=5,6,7", 2, {5, 6, 0, 0}},     {"delay=5,6,7,8", 4, {5, 6, 7, 8}},
      {"delay=5,6,7,8,9", 4, {5, 6, 7, 8}}, {"status=OK;delay=1,2,3,4;errorcode=2", 4, {1, 2, 3, 4}},
      {"delay=-3, 4,x,", 4, {-3, 4, 0, 0}},
      // Commas past the cut assign nothing.
      {"delay=" + std::string(70, '1') + ",2", 0, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    const ReplyProtocol reply = DecodeReplyProtocol(c.pragma);
    EXPECT_EQ(reply.delayCount, c.count) << c.pragma;
    for (int i = 0; i < c.count; ++i) EXPECT_EQ(reply.delays[i], c.delays[i]) << c.pragma << " #" << i;
  }
}

}  // namespace
}  // namespace velinst::http
