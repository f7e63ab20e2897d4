// Arbitrary bytes as the system's locale file and as a locale name.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "installer/language.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  velinst::LanguageFromLocale(velinst::LocaleFromConfigText(text));
  velinst::LanguageFromLocale(text);
  return 0;
}
