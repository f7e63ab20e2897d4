// The region reader: a region file into a scale info table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "packlist/scale_table.h"

namespace velinst::packlist {

// Lines are limited to this many characters, line end not counted.
inline constexpr std::size_t kMaxLineLength = 511;

enum class RegionFault {
  kNone,
  kCannotOpen,  // the file cannot be opened or read
  kLayout,      // the file breaks the layout; refused whole
  kAllocation,  // the table could not be allocated
};

struct RegionReadResult {
  RegionFault fault = RegionFault::kNone;
  int line = 0;           // kLayout: the line at fault, counting from 1
  char problem[96] = {};  // kLayout: what is wrong
};

// Reads a region file's text of `size` bytes into `table`, which must be
// empty and keeps the text. On a fault the table is left empty.
RegionReadResult ParseRegion(std::unique_ptr<char[]> text, std::size_t size, ScaleInfoTable& table);

// The same with a copy of the text.
RegionReadResult ParseRegion(std::string_view text, ScaleInfoTable& table);

// Reads the region file at `path` into `table`, which must be empty.
RegionReadResult ReadRegionFile(const char* path, ScaleInfoTable& table);

// The buffer size after `capacity` bytes of a file turned out too few: twice
// as many, or 0 when that would pass `limit` (in 32-bit arithmetic the
// doubling would otherwise wrap to a size smaller than what is held).
std::size_t NextCapacity(std::size_t capacity, std::size_t limit = SIZE_MAX / 2);

// Prints the diagnostic line of a fault on the standard output.
void PrintRegionFault(const char* path, const RegionReadResult& result);

}  // namespace velinst::packlist
