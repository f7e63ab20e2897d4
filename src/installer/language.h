// The system's language as a Windows language identifier (LANGID: primary
// language in the low 10 bits, sublanguage in the high 6), and its English name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velinst {

using LanguageId = std::uint16_t;

inline constexpr LanguageId kEnglishUnitedStates = 0x0409;

// One row of the name table.
struct LanguageName {
  LanguageId id;
  const char* name;
};

// The 143 identifiers with names, in ascending order of identifier.
std::span<const LanguageName> LanguageNames();

// The English name of `id`, "Unknown" for an identifier outside the table.
const char* LanguageNameOf(LanguageId id);

// The language object: the system's default language, taken at construction.
class CLanguage {
 public:
  CLanguage();
  explicit CLanguage(LanguageId id) : id_(id) {}

  LanguageId Id() const { return id_; }

  // Copies the name into `buffer` as strncpy does: at most `size` characters,
  // terminated only when the name is shorter than `size`. Returns the identifier.
  LanguageId Name(char* buffer, std::size_t size) const;

 private:
  LanguageId id_;
};

// One row of the locale table: "de_DE", "sr_RS@latin", or a language alone
// ("de") for its default sublanguage.
struct LocaleLanguage {
  std::string_view locale;
  LanguageId id;
};

// The locale rows, sorted by name.
std::span<const LocaleLanguage> LocaleLanguages();

// The identifier of a POSIX locale name ("de_DE.UTF-8", "sr_RS@latin"): the
// exact country (and modifier) when known, else the language's default
// sublanguage; "C", "POSIX", empty and unknown languages give English (United States).
LanguageId LanguageFromLocale(std::string_view locale);

// The value that a shell-style locale file ("LANG=de_DE.UTF-8", quotes and
// "export" allowed, the last assignment wins) gives LANG; empty when none.
std::string LocaleFromConfigText(std::string_view text);

// The system's default locale: the first of the config texts that sets LANG,
// else the environment's LANG (may be null).
std::string DefaultLocaleName(const std::vector<std::string>& configTexts, const char* environmentLang);

namespace platform {
// GetSystemDefaultLangID on Windows; the system's default locale on the host.
LanguageId SystemDefaultLanguage();
}  // namespace platform

}  // namespace velinst
