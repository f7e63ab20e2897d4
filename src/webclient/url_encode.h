// Percent-encoding of request query values.
#pragma once

#include <string>
#include <string_view>

namespace velinst {

// Letters and digits are kept; every other byte becomes '%' and two
// lower-case hexadecimal digits (a blank gives "%20", 0xE9 gives "%e9").
std::string UrlEncode(std::string_view text);

// A query value made safe to stand between "name=" and the next "&": the
// bytes that would end or change it ("&", "=", "+", "%", "#", blanks and
// control characters) go out as UrlEncode writes them, every other byte
// unchanged, so a value without them is sent exactly as given.
std::string EncodeQueryValue(std::string_view value);

}  // namespace velinst
