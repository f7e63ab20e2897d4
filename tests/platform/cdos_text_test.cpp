#include <gtest/gtest.h>

#include <string>

#include "platform/cdos.h"
#include "platform/path_separator.h"

namespace velinst {
namespace {

TEST(CDOSText, DriveRootTextHasExactlyTwoForms) {
  const struct {
    const char* text;
    bool root;
  } cases[] = {{"C:", true},     {"C:\\", true}, {"Z:", true},   {"c:", false}, {"C:\\\\", false},
               {"C:\\x", false}, {"C", false},   {"CC:", false}, {"", false},   {"1:", false}};
  for (const auto& c : cases) EXPECT_EQ(CDOS::IsDriveRootText(c.text), c.root) << c.text;
  EXPECT_FALSE(CDOS::IsDriveRootText(nullptr));
  EXPECT_EQ(CDOS::IsDriveRootText("/"), platform::kRootFolderText != nullptr) << "the host root counts there";
}

TEST(CDOSText, ExtensionIsTheTextAfterTheLastDotOfTheName) {
  const std::string sep(1, platform::kPathSeparator);
  const struct {
    std::string path;
    bool has;
    std::string extension;
  } cases[] = {{"archive.tar.gz", true, "gz"},
               {"README", false, ""},
               {"name.", true, ""},
               {"folder.d" + sep + "README", false, ""},
               {"folder.d" + sep + "setup.exe", true, "exe"},
               {std::string(256, 'x') + ".txt", false, ""}};
  for (const auto& c : cases) {
    PathBuffer extension = "unchanged";
    EXPECT_EQ(CDOS::Extension(c.path.c_str(), extension), c.has) << c.path;
    if (c.has) {
      EXPECT_EQ(std::string(extension), c.extension) << c.path;
    }
  }
}

TEST(CDOSText, EqualIgnoringCase) {
  EXPECT_TRUE(CDOS::EqualIgnoringCase("Setup.EXE", "setup.exe"));
  EXPECT_FALSE(CDOS::EqualIgnoringCase("abc", "abcd"));
  EXPECT_FALSE(CDOS::EqualIgnoringCase("abcd", "abc"));
  EXPECT_TRUE(CDOS::EqualIgnoringCase("", ""));
  EXPECT_FALSE(CDOS::EqualIgnoringCase("a", nullptr));
}

TEST(CDOSText, FindIgnoringCase) {
  const char* text = "C:\\Program Files\\Vendor";
  EXPECT_EQ(CDOS::FindIgnoringCase(text, "program"), text + 3);
  EXPECT_EQ(CDOS::FindIgnoringCase(text, "VENDOR"), text + 17);
  EXPECT_EQ(CDOS::FindIgnoringCase(text, "vendors"), nullptr) << "no match reaching past the end";
  EXPECT_EQ(CDOS::FindIgnoringCase(text, ""), text);
  EXPECT_EQ(CDOS::FindIgnoringCase(nullptr, "x"), nullptr);
}

}  // namespace
}  // namespace velinst
