#include <cstdlib>
#include <fstream>

#include "installer/language.h"

namespace velinst::platform {

namespace {

// Locale files are a few lines; a larger file is not one.
constexpr std::size_t kLocaleFileLimit = 64 * 1024;

std::string ReadLocaleFile(const char* path) {
  std::ifstream file(path, std::ios::binary);
  std::string text;
  if (!file) return text;
  text.resize(kLocaleFileLimit);
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(file.gcount()));
  return text;
}

}  // namespace

// Debian keeps the system's locale in /etc/default/locale, systemd in
// /etc/locale.conf; a system with neither has only the environment.
LanguageId SystemDefaultLanguage() {
  const std::vector<std::string> configTexts = {ReadLocaleFile("/etc/default/locale"),
                                                ReadLocaleFile("/etc/locale.conf")};
  return LanguageFromLocale(DefaultLocaleName(configTexts, std::getenv("LANG")));
}

}  // namespace velinst::platform
