#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "installer/language.h"
#include "test_support.h"
#include "velinst.h"

namespace velinst {
namespace {

// The host has no shell autoplay: the start returns at once, without a loop.
TEST(AutoplaySystem, HostTakesNoDriveAndReturnsAtOnce) {
  EXPECT_EQ(VEL_AutoplayStart(), 0);
  EXPECT_EQ(VEL_AutoplayStop(), 0);
}

TEST(LanguageSystem, ExportFollowsTheSystemLocale) {
  EXPECT_EQ(VEL_GetLanguageID(), CLanguage().Id());
  for (const char* path : {"/etc/default/locale", "/etc/locale.conf"})
    if (!LocaleFromConfigText(test::ReadWholeFile(path)).empty())
      GTEST_SKIP() << path << " decides, not the environment";
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
