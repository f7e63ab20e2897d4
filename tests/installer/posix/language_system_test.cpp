#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "installer/language.h"
#include "velinst.h"

namespace velinst {
namespace {

bool SystemFileSetsLang() {
  for (const char* path : {"/etc/default/locale", "/etc/locale.conf"}) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    if (!LocaleFromConfigText(text.str()).empty()) return true;
  }
  return false;
}

TEST(LanguageSystem, ExportFollowsTheSystemLocale) {
  EXPECT_EQ(VEL_GetLanguageID(), CLanguage().Id());
  if (SystemFileSetsLang()) GTEST_SKIP() << "the system's locale file decides, not the environment";
  const char* saved = std::getenv("LANG");
  const std::string restore = saved != nullptr ? saved : "";
  ::setenv("LANG", "de_CH.UTF-8", 1);
  EXPECT_EQ(VEL_GetLanguageID(), 0x0807);
  ::unsetenv("LANG");
  EXPECT_EQ(VEL_GetLanguageID(), 0x0409);
  if (saved != nullptr) ::setenv("LANG", restore.c_str(), 1);
}

}  // namespace
}  // namespace velinst
