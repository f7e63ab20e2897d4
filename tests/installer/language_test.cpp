#include "installer/language.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace velinst {
namespace {

TEST(Language, NameCopiesAsStrncpyDoes) {
  char buffer[16];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(CLanguage(1033).Name(buffer, 8), 1033);
  EXPECT_EQ(std::string(buffer, 9), "English #");  // eight characters, no terminator
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(CLanguage(1).Name(buffer, sizeof buffer), 1);
  EXPECT_EQ(std::string(buffer, 16), std::string("Unknown\0\0\0\0\0\0\0\0\0", 16)) << "filled with terminators";
  EXPECT_EQ(CLanguage(0x0407).Name(nullptr, 8), 0x0407);
}

TEST(Language, LocaleNamesMapToIdentifiers) {
  struct Case {
    const char* locale;
    LanguageId id;
  } cases[] = {{"de_DE.UTF-8@euro", 0x0407},
               {"de_AT.UTF-8", 0x0c07},
               {"fr_ca.utf8", 0x0c0c},  // letter case of the country does not matter
               {"sr_RS@latin", 0x081a},
               {"sr_RS", 0x0c1a},
               {"ca_ES@valencia", 0x0403},  // unknown modifier: the country's row
               {"de_XX", 0x0407},           // unknown country: the language's default
               {"", 0x0409},
               {"xx_YY.UTF-8", 0x0409},
               {"@latin", 0x0409}};
  for (const Case& c : cases) EXPECT_EQ(LanguageFromLocale(c.locale), c.id) << c.locale;
}

TEST(Language, LocaleFileGivesItsLangAssignment) {
  struct Case {
    const char* text;
    const char* lang;
  } cases[] = {{"LANG=de_DE.UTF-8\n", "de_DE.UTF-8"},          {"# LANG=fr_FR\nLC_TIME=de_DE\n", ""},
               {"export LANG=it_IT.UTF-8\r\n", "it_IT.UTF-8"}, {"  LANG = nl_NL  # Dutch\n", "nl_NL"},
               {"LANG=de_DE\nLANG=fr_FR\n", "fr_FR"},  // the last assignment wins
               {"LANG=\"unterminated\n", "\"unterminated"}};
  for (const Case& c : cases) EXPECT_EQ(LocaleFromConfigText(c.text), c.lang) << c.text;
  // The first file that sets LANG, then the environment.
  EXPECT_EQ(DefaultLocaleName({"LANG=de_DE", "LANG=fr_FR"}, "en_GB"), "de_DE");
  EXPECT_EQ(DefaultLocaleName({"# nothing", "LANG=fr_FR"}, "en_GB"), "fr_FR");
  EXPECT_EQ(DefaultLocaleName({}, nullptr), "");
}

}  // namespace
}  // namespace velinst
