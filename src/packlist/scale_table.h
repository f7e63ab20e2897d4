// The scale info table: what a region file holds, one entry per map series,
// each with its sheets. Built by the region reader, walked by the pack lists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace velinst::packlist {

// Field sizes of the region file's texts, terminator included: longer texts
// are cut to the field.
inline constexpr std::size_t kCellCodeSize = 16;
inline constexpr std::size_t kDescriptionLength = 63;
inline constexpr std::size_t kScaleNameSize = 44;

// The series the pack lists know, by scale denominator.
inline constexpr std::int32_t kQuadrangleScale = 24000;
inline constexpr std::int32_t kHundredThousandScale = 100000;
inline constexpr std::int32_t kQuarterMillionScale = 250000;

// Flag bits of a sheet line; other bits have no effect.
inline constexpr std::int32_t kDoubleWidthFlag = 2;     // the cell and its western neighbour
inline constexpr std::int32_t kRectangleFlags = 4 | 8;  // given by four coordinates, either bit
inline constexpr std::int32_t kSetAsideFlag = 16;       // goes to the set-aside list

struct SheetRecord {
  std::int32_t flags = 0;
  char cellCode[kCellCodeSize] = {};  // the file's eight-character form, "37122-A1"
  // Points into the table's copy of the region text, so it is valid while
  // that table lives: descriptions are never used by the pack lists, and a
  // copy of each would double the table.
  std::string_view description;
  // Rectangle sheets only; degrees, west negative once stored.
  double south = 0.0;
  double east = 0.0;
  double north = 0.0;
  double west = 0.0;

  // The record that ends a primary list: consumers stop at an empty code.
  bool IsEnd() const { return cellCode[0] == '\0'; }
  bool IsRectangle() const { return (flags & kRectangleFlags) != 0; }
  bool IsDoubleWidth() const { return (flags & kDoubleWidthFlag) != 0; }
  bool IsSetAside() const { return (flags & kSetAsideFlag) != 0; }
};

struct ScaleEntry {
  double formatVersion = 0.0;
  std::int32_t denominator = 0;  // 24000, 100000, 250000, ...
  char scaleName[kScaleNameSize] = {};
  double longitudeCellSize = 0.0;
  double latitudeCellSize = 0.0;
  std::vector<SheetRecord> primary;  // ended by an end record
  std::vector<SheetRecord> setAside;

  std::size_t PrimaryCount() const { return primary.empty() ? 0 : primary.size() - 1; }
  std::size_t SetAsideCount() const { return setAside.size(); }
};

// One table per call: it owns its entries and releases them when it goes.
struct ScaleInfoTable {
  std::vector<ScaleEntry> entries;
  std::unique_ptr<char[]> text;  // the region file's text
};

}  // namespace velinst::packlist
