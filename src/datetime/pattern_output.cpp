#include "datetime/pattern_output.h"

namespace velinst::pattern {
namespace {

// Text between `quote` at `position` and the next one is copied. Without a
// closing one a double quote is written, whichever quote opened.
std::size_t CopyQuoted(std::string_view pattern, std::size_t position, char quote, std::string& out) {
  const std::size_t start = position + 1;
  const std::size_t close = pattern.find(quote, start);
  if (close == std::string_view::npos) {
    out += '"';
    return start;
  }
  out.append(pattern.substr(start, close - start));
  return close + 1;
}

}  // namespace

std::size_t RunLength(std::string_view pattern, std::size_t position, char letter, std::size_t longest) {
  std::size_t length = 0;
  while (length < longest && position + length < pattern.size() && pattern[position + length] == letter) ++length;
  return length;
}

void AppendNumber(std::string& out, std::int64_t value, int width) {
  char digits[24];
  char* const end = digits + sizeof digits;
  char* first = end;
  std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  do {
    *--first = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  const int length = static_cast<int>(end - first) + (value < 0 ? 1 : 0);
  if (value < 0) out += '-';
  if (width > length) out.append(static_cast<std::size_t>(width - length), '0');
  out.append(first, end);
}

std::size_t FormatTail(std::string_view pattern, std::size_t position, std::string& out) {
  const char c = pattern[position];
  const char next = position + 1 < pattern.size() ? pattern[position + 1] : '\0';
  if (c == '"' || c == '\'') return CopyQuoted(pattern, position, c, out);
  if (c == '%' && next == '%') {
    out += "<NIY:%%>";
    return position + 2;
  }
  if (c == '\\') {
    // Two backslashes or a backslash and any character: the second is
    // copied. A backslash at the very end writes nothing.
    if (position + 1 < pattern.size()) out += next;
    return position + 2 <= pattern.size() ? position + 2 : pattern.size();
  }
  out += c;
  return position + 1;
}

}  // namespace velinst::pattern
