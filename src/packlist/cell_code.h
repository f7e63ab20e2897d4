// Cell codes and sheet names: "%02d%03d%c%d" of the block's south latitude,
// the block's east longitude (west positive), the row letter (A to H, south
// to north) and the column digit (1 to 8, east to west).
#pragma once

#include <cstddef>
#include <string_view>

namespace velinst::packlist {

// Room for any code formatted here, terminator included.
inline constexpr std::size_t kCodeBufferSize = 32;

// A fixed-size code text, built in place.
struct CodeText {
  char text[kCodeBufferSize];
  std::size_t length = 0;

  std::string_view View() const { return {text, length}; }
};

// "%02d%03d%c%d", with printf's padding of negative numbers.
CodeText FormatCellCode(int latitude, int longitude, char row, int column);

// "%s%c%d" of a block text, a row letter and a column.
CodeText FormatBlockCell(std::string_view block, char row, int column);

// The short form of a cell code in the file's eight-character form:
// positions 1 to 5 and 7 to 8, as far as the code reaches.
CodeText ShortForm(const char* cellCode);

// Positions 1 to 5 of a cell code, as far as it reaches.
std::string_view BlockOf(const char* cellCode);

// The block west of a cell code's block: positions 1 and 2 as written, then
// the longitude of positions 3 to 5 plus one, "%03d".
CodeText WesternBlock(const char* cellCode);

// The integer that "%<count>d" reads at `offset` of a cell code, 0 when none:
// the latitude at offset 0 (2 characters), the longitude at 2 (3 characters).
int CodeNumber(const char* cellCode, std::size_t offset, std::size_t count);

}  // namespace velinst::packlist
