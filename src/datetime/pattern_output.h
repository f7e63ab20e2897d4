// Pieces that every Format (date-time, time span, date span) shares: runs of
// pattern letters, zero-padded numbers and the common tail of the token
// tables (quotes, the "%%" marker, escapes, copied characters).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velinst::pattern {

// Length of the run of `letter` starting at `position`, at most `longest`.
std::size_t RunLength(std::string_view pattern, std::size_t position, char letter, std::size_t longest);

// Appends `value` in decimal, padded on the left with '0' to at least
// `width` characters (a minus sign counts toward the width, as in printf).
void AppendNumber(std::string& out, std::int64_t value, int width = 0);

// Handles the pattern character at `position` with the common tail rules,
// appending to `out`; returns the position after what was consumed.
std::size_t FormatTail(std::string_view pattern, std::size_t position, std::string& out);

// The scan every Format shares. `token(position, out)` writes the token of
// the type's own table that starts at `position` and returns the number of
// pattern characters it took, or 0 when none starts there and the common
// tail takes over.
template <typename Token>
void Scan(std::string_view pattern, std::string& out, Token token) {
  std::size_t position = 0;
  while (position < pattern.size()) {
    const std::size_t taken = token(position, out);
    if (taken != 0) {
      position += taken;
      continue;
    }
    const char c = pattern[position];
    if (c == '"' || c == '\'' || c == '%' || c == '\\') {
      position = FormatTail(pattern, position, out);
    } else {
      out += c;  // the common case, kept out of the call
      ++position;
    }
  }
}

}  // namespace velinst::pattern
