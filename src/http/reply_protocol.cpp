#include "http/reply_protocol.h"

#include <optional>

namespace velinst::http {
namespace {

// The value after the first occurrence of `key`, up to the next ';', cut to
// the item field's capacity.
std::optional<std::string_view> FindItem(std::string_view pragma, std::string_view key) {
  const std::size_t at = pragma.find(key);
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view value = pragma.substr(at + key.size());
  value = value.substr(0, value.find(';'));
  return value.substr(0, kReplyItemCapacity);
}

// Splits the delay item at its commas; the numbers are assigned only as far
// as the commas reach, and a third comma assigns the last two together.
void DecodeDelays(std::string_view item, ReplyProtocol& reply) {
  const std::size_t first = item.find(',');
  if (first == std::string_view::npos) return;
  reply.delays[0] = static_cast<std::int32_t>(ParseReplyNumber(item.substr(0, first)));
  reply.delayCount = 1;
  const std::size_t second = item.find(',', first + 1);
  if (second == std::string_view::npos) return;
  reply.delays[1] = static_cast<std::int32_t>(ParseReplyNumber(item.substr(first + 1, second - first - 1)));
  reply.delayCount = 2;
  const std::size_t third = item.find(',', second + 1);
  if (third == std::string_view::npos) return;
  reply.delays[2] = static_cast<std::int32_t>(ParseReplyNumber(item.substr(second + 1, third - second - 1)));
  reply.delays[3] = static_cast<std::int32_t>(ParseReplyNumber(item.substr(third + 1)));
  reply.delayCount = 4;
}

}  // namespace

std::uint32_t ParseReplyNumber(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  std::uint32_t value = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
    value = value * 10u + static_cast<std::uint32_t>(text[at] - '0');
  return negative ? 0u - value : value;
}

ReplyProtocol DecodeReplyProtocol(std::string_view pragma) {
  ReplyProtocol reply;
  std::optional<std::string_view> status = FindItem(pragma, "status=");
  if (!status) status = FindItem(pragma, "Status=");
  if (status) {
    reply.statusText.assign(*status);
    reply.status = *status == "OK" ? kReplyOk : *status == "ERROR" ? kReplyError : kReplyOther;
  }
  const std::uint32_t statusHalf = static_cast<std::uint32_t>(reply.status) & 0xFFFFu;
  if (const auto errorCode = FindItem(pragma, "errorcode="))
    reply.result = ((ParseReplyNumber(*errorCode) & 0xFFFFu) << 16) | statusHalf;
  else
    reply.result = kResultNoErrorCode | statusHalf;
  if (const auto delay = FindItem(pragma, "delay=")) DecodeDelays(*delay, reply);
  return reply;
}

}  // namespace velinst::http
