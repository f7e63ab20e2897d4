// The name of a TrueType font, read from its table directory and `name` table.
#pragma once

#include <string>

#include "installer/byte_source.h"

namespace velinst {

// Longest name kept, in bytes; longer names are cut.
inline constexpr std::size_t kFontNameLimit = 127;

struct FontName {
  int familyFound = 0;  // 1 when the file names its family
  std::string name;     // the full name, else the family name, else empty
};

// Reads the single-byte full name (name identifier 4) and family name (1) of
// a TrueType 1.0 font. Collections and other outline formats give nothing.
// A directory, table or string that runs past the end of the bytes ends the
// search: what was found before it is kept.
FontName ReadFontName(ByteSource& bytes);

}  // namespace velinst
