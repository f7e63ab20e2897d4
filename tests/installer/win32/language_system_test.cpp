#include <windows.h>

#include <gtest/gtest.h>

#include "installer/language.h"
#include "velinst.h"

namespace velinst {
namespace {

TEST(LanguageSystem, ExportIsTheSystemDefaultLanguage) {
  const int system = ::GetSystemDefaultLangID();
  EXPECT_EQ(VEL_GetLanguageID(), system);
  EXPECT_EQ(CLanguage().Id(), system);
  EXPECT_GE(VEL_GetLanguageID(), 0);
  EXPECT_LE(VEL_GetLanguageID(), 0xFFFF);
}

}  // namespace
}  // namespace velinst
