// Any Pragma text decodes without reading out of range, and the decoded
// values keep their bounds.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "http/reply_protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const velinst::http::ReplyProtocol reply = velinst::http::DecodeReplyProtocol(text);
  if (reply.statusText.size() > velinst::http::kReplyItemCapacity) __builtin_trap();
  if (reply.delayCount != 0 && reply.delayCount != 1 && reply.delayCount != 2 && reply.delayCount != 4)
    __builtin_trap();
  if ((reply.result & 0xFFFFu) != (static_cast<std::uint32_t>(reply.status) & 0xFFFFu)) __builtin_trap();
  if (reply.status != velinst::http::kReplyOk && reply.status != velinst::http::kReplyError &&
      reply.status != velinst::http::kReplyOther && reply.status != velinst::http::kReplyNoStatus)
    __builtin_trap();
  return 0;
}
