// Arbitrary bytes as a font file: the reader stays inside them and names
// never exceed their limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "installer/font_name.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  velinst::MemoryBytes bytes(std::span(data, size));
  const velinst::FontName font = velinst::ReadFontName(bytes);
  if (font.name.size() > velinst::kFontNameLimit) std::abort();
  if (font.familyFound != 0 && font.familyFound != 1) std::abort();
  return 0;
}
