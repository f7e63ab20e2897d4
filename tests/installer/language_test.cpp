#include "installer/language.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace velinst {
namespace {

TEST(Language, TableHoldsExactlyTheKnownIdentifiersInOrder) {
  const std::vector<LanguageId> expected = {
      0x0000, 0x007f, 0x0400, 0x0401, 0x0402, 0x0403, 0x0404, 0x0405, 0x0406, 0x0407, 0x0408, 0x0409, 0x040a,
      0x040b, 0x040c, 0x040d, 0x040e, 0x040f, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0418,
      0x0419, 0x041a, 0x041b, 0x041c, 0x041d, 0x041e, 0x041f, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425,
      0x0426, 0x0427, 0x0429, 0x042a, 0x042b, 0x042c, 0x042d, 0x042f, 0x0430, 0x0436, 0x0437, 0x0438, 0x0439,
      0x043e, 0x0440, 0x0441, 0x0443, 0x0444, 0x0446, 0x0447, 0x0449, 0x044a, 0x044b, 0x044e, 0x044f, 0x0450,
      0x0455, 0x0456, 0x0457, 0x045a, 0x0465, 0x0800, 0x0801, 0x0804, 0x0807, 0x0809, 0x080a, 0x080c, 0x0810,
      0x0812, 0x0813, 0x0814, 0x0816, 0x081a, 0x081d, 0x0820, 0x0827, 0x082c, 0x083e, 0x0843, 0x0c01, 0x0c04,
      0x0c07, 0x0c09, 0x0c0a, 0x0c0c, 0x0c1a, 0x1001, 0x1004, 0x1007, 0x1009, 0x100a, 0x100c, 0x1401, 0x1404,
      0x1407, 0x1409, 0x140a, 0x140c, 0x1801, 0x1809, 0x180a, 0x180c, 0x1c01, 0x1c09, 0x1c0a, 0x2001, 0x2009,
      0x200a, 0x2401, 0x2409, 0x240a, 0x2801, 0x2809, 0x280a, 0x2c01, 0x2c09, 0x2c0a, 0x3001, 0x3009, 0x300a,
      0x3401, 0x3409, 0x340a, 0x3801, 0x380a, 0x3c01, 0x3c0a, 0x4001, 0x400a, 0x440a, 0x480a, 0x4c0a, 0x500a};
  ASSERT_EQ(expected.size(), 143u);
  std::vector<LanguageId> keys;
  std::set<std::string> names;
  for (const LanguageName& row : LanguageNames()) {
    keys.push_back(row.id);
    EXPECT_TRUE(names.insert(row.name).second) << "name used twice: " << row.name;
    EXPECT_STRNE(row.name, "Unknown");
  }
  EXPECT_EQ(keys, expected);
}

TEST(Language, NamesInThePlatformsWording) {
  struct Case {
    LanguageId id;
    const char* name;
  } cases[] = {
      {0x0000, "Language Neutral"},
      {0x007f, "The language for the invariant locale (LOCALE_INVARIANT). See MAKELCID."},
      {0x0400, "Process or User Default Language"},
      {0x0407, "German (Standard)"},
      {1033, "English (United States)"},
      {0x040a, "Spanish (Spain, Traditional Sort)"},
      {0x0416, "Portuguese (Brazil)"},
      {0x0420, "Windows 98/Me, Windows 2000/XP: Urdu (Pakistan)"},
      {0x042b, "Windows 2000/XP: Armenian. This is Unicode only."},
      {0x0440, "Windows XP: Kyrgyz."},
      {2048, "System Default Language"},
      {0x0812, "Windows 95, Windows NT 4.0 only: Korean (Johab)"},
      {0x0816, "Portuguese (Portugal)"},
      {0x0827, "Windows 98 only: Lithuanian (Classic)"},
      {0x0c04, "Chinese (Hong Kong SAR, PRC)"},
      {0x0c0a, "Spanish (Spain, Modern Sort)"},
      {1, "Unknown"},
      {0x0417, "Unknown"},
      {0xffff, "Unknown"},
  };
  for (const Case& c : cases) EXPECT_STREQ(LanguageNameOf(c.id), c.name) << std::hex << c.id;
}

TEST(Language, NameCopiesAsStrncpyDoes) {
  char buffer[16];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(CLanguage(1033).Name(buffer, 8), 1033);
  EXPECT_EQ(std::string(buffer, 9), "English #");  // eight characters, no terminator

  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(CLanguage(1).Name(buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "Unknown");
  EXPECT_EQ(buffer[15], '\0');  // the rest is filled with terminators

  EXPECT_EQ(CLanguage(0x0407).Name(nullptr, 8), 0x0407);
}

TEST(Language, LocaleNamesMapToIdentifiers) {
  struct Case {
    const char* locale;
    LanguageId id;
  } cases[] = {
      {"de_DE", 0x0407},
      {"de_DE.UTF-8", 0x0407},
      {"de_DE.UTF-8@euro", 0x0407},
      {"de_AT.UTF-8", 0x0c07},
      {"pt_BR", 0x0416},
      {"pt_PT.UTF-8", 0x0816},
      {"en_GB.UTF-8", 0x0809},
      {"en_US", 0x0409},
      {"es_ES.UTF-8", 0x0c0a},
      {"es_MX", 0x080a},
      {"fr_ca.utf8", 0x0c0c},  // letter case of the country does not matter
      {"zh_TW.UTF-8", 0x0404},
      {"zh_CN.GB18030", 0x0804},
      {"sr_RS@latin", 0x081a},
      {"sr_RS", 0x0c1a},
      {"uz_UZ.UTF-8@cyrillic", 0x0843},
      {"ca_ES@valencia", 0x0403},  // unknown modifier: the country's row
      {"de_XX", 0x0407},           // unknown country: the language's default
      {"de", 0x0407},
      {"pt", 0x0416},
      {"es_BR", 0x040a},
      {"C", 0x0409},
      {"C.UTF-8", 0x0409},
      {"POSIX", 0x0409},
      {"", 0x0409},
      {"xx_YY.UTF-8", 0x0409},
      {"_DE", 0x0409},
      {"@latin", 0x0409},
  };
  for (const Case& c : cases) EXPECT_EQ(LanguageFromLocale(c.locale), c.id) << c.locale;
}

TEST(Language, EveryLocaleRowNamesAKnownLanguage) {
  for (const LocaleLanguage& row : LocaleLanguages()) {
    EXPECT_STRNE(LanguageNameOf(row.id), "Unknown") << row.locale;
    EXPECT_EQ(LanguageFromLocale(row.locale), row.id) << row.locale;
  }
}

TEST(Language, LocaleFileGivesItsLangAssignment) {
  struct Case {
    const char* text;
    const char* lang;
  } cases[] = {
      {"LANG=de_DE.UTF-8\n", "de_DE.UTF-8"},
      {"LANG=\"pt_BR.UTF-8\"\n", "pt_BR.UTF-8"},
      {"LANG='en_GB.UTF-8'", "en_GB.UTF-8"},
      {"#  File generated by update-locale\n", ""},
      {"# LANG=fr_FR\nLC_TIME=de_DE\n", ""},
      {"export LANG=it_IT.UTF-8\r\n", "it_IT.UTF-8"},
      {"  LANG = nl_NL  # Dutch\n", "nl_NL"},
      {"LANG=de_DE\nLANG=fr_FR\n", "fr_FR"},  // the last assignment wins
      {"LANGUAGE=de:en\n", ""},
      {"LANG=\"unterminated\n", "\"unterminated"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(LocaleFromConfigText(c.text), c.lang) << c.text;
}

TEST(Language, DefaultLocaleTakesTheFirstFileThatSetsLangThenTheEnvironment) {
  EXPECT_EQ(DefaultLocaleName({"LANG=de_DE", "LANG=fr_FR"}, "en_GB"), "de_DE");
  EXPECT_EQ(DefaultLocaleName({"# nothing", "LANG=fr_FR"}, "en_GB"), "fr_FR");
  EXPECT_EQ(DefaultLocaleName({"", ""}, "en_GB"), "en_GB");
  EXPECT_EQ(DefaultLocaleName({}, nullptr), "");
}

}  // namespace
}  // namespace velinst
