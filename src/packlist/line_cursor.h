// Lines of a text held in memory, with either line end.
#pragma once

#include <cstddef>
#include <string_view>

namespace velinst::packlist {

class LineCursor {
 public:
  struct Position {
    std::size_t offset = 0;
    int lineNumber = 0;
  };

  explicit LineCursor(std::string_view text) : text_(text) {}

  // The next line without its line end; a carriage return before the line
  // feed (or before the end of the text) is dropped. False at the end.
  bool Next(std::string_view& line);

  // The number of the line last returned, counting from 1.
  int LineNumber() const { return position_.lineNumber; }

  Position Tell() const { return position_; }
  void Seek(Position position) { position_ = position; }

 private:
  std::string_view text_;
  Position position_;
};

}  // namespace velinst::packlist
