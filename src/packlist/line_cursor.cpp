#include "packlist/line_cursor.h"

#include <cstring>

namespace velinst::packlist {

bool LineCursor::Next(std::string_view& line) {
  if (position_.offset >= text_.size()) return false;
  const char* start = text_.data() + position_.offset;
  const std::size_t left = text_.size() - position_.offset;
  const void* feed = std::memchr(start, '\n', left);
  std::size_t length = feed != nullptr ? static_cast<std::size_t>(static_cast<const char*>(feed) - start) : left;
  position_.offset += feed != nullptr ? length + 1 : length;
  ++position_.lineNumber;
  if (length > 0 && start[length - 1] == '\r') --length;
  line = std::string_view(start, length);
  return true;
}

}  // namespace velinst::packlist
