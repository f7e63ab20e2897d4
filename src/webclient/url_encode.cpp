#include "webclient/url_encode.h"

namespace velinst {

namespace {

bool IsAsciiAlphanumeric(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Control characters, the blank and the bytes that delimit or decode query
// parts on the server.
bool BreaksQueryValue(unsigned char c) {
  return c <= 0x20 || c == 0x7F || c == '&' || c == '=' || c == '+' || c == '%' || c == '#';
}

void AppendEscaped(std::string& out, unsigned char c) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.push_back('%');
  out.push_back(kHex[c >> 4]);
  out.push_back(kHex[c & 0x0F]);
}

template <typename KeepByte>
std::string Encode(std::string_view text, KeepByte keep) {
  std::string out;
  out.reserve(text.size());
  for (const char byte : text) {
    const auto c = static_cast<unsigned char>(byte);
    if (keep(c))
      out.push_back(byte);
    else
      AppendEscaped(out, c);
  }
  return out;
}

}  // namespace

std::string UrlEncode(std::string_view text) { return Encode(text, IsAsciiAlphanumeric); }

std::string EncodeQueryValue(std::string_view value) {
  return Encode(value, [](unsigned char c) { return !BreaksQueryValue(c); });
}

}  // namespace velinst
