#include <windows.h>

#include <gtest/gtest.h>

#include "installer/language.h"
#include "velinst.h"

namespace velinst {
namespace {

TEST(LanguageSystem, ExportIsTheSystemDefaultLanguage) {
  EXPECT_EQ(VEL_GetLanguageID(), ::GetSystemDefaultLangID());
  EXPECT_EQ(CLanguage().Id(), ::GetSystemDefaultLangID());
}

}  // namespace
}  // namespace velinst
