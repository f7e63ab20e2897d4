// The reply protocol that the account service carries in the Pragma header
// of its replies: "status=", "errorcode=" and "delay=" items.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace velinst::http {

// Reply status, the low half of a request result code.
inline constexpr std::int32_t kReplyOk = 1;
inline constexpr std::int32_t kReplyError = 0;  // the body is not read
inline constexpr std::int32_t kReplyOther = -1;
inline constexpr std::int32_t kReplyNoStatus = 136;

// High halves of a request result code when the server names no error code.
inline constexpr std::uint32_t kResultNoErrorCode = 0x00890000;
inline constexpr std::uint32_t kResultStatusRequired = 0x007D0000;  // no Pragma, status required

// An item value is kept in a 64-byte field: longer values are cut.
inline constexpr std::size_t kReplyItemCapacity = 63;

struct ReplyProtocol {
  std::int32_t status = kReplyNoStatus;
  std::string statusText;    // the "status=" item, empty when there is none
  std::uint32_t result = 0;  // error code in the high half, status in the low
  // How many of the delay numbers the "delay=" item assigned: 0, 1, 2 or 4.
  int delayCount = 0;
  std::array<std::int32_t, 4> delays{};
};

// Decodes a Pragma header value. Any text is accepted.
ReplyProtocol DecodeReplyProtocol(std::string_view pragma);

// A decimal number as the service writes it: optional blanks and sign, then
// leading digits accumulated modulo 2^32; no digits gives 0.
std::uint32_t ParseReplyNumber(std::string_view text);

}  // namespace velinst::http
