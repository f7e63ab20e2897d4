#include "platform/find_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/wildcard_match.h"
#include "test_support.h"

namespace velinst {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

TEST(WildcardMatch, FollowsTheWindowsRules) {
  const struct {
    const char *pattern, *name;
    bool matches;
  } cases[] = {{"*", "a.b.c", true},
               {"*.*", "abc", true},
               {"*.*", "..", true},
               {"*.txt", "a.TXT", true},
               {"*.txt", "a.txt.bak", false},
               {"a?c", "abc", true},
               {"a?c", "ac", false},
               {"?", "", false},
               {"*.", "README", true},
               {"*.", "a.b", false},
               {"readme.*", "README", true},
               {"readme.*", "readmex", false},
               {"*a*b", "xxaxxb", true},
               {"*a*b", "xxaxxbx", false},
               {"a*b*c", "abbbbc", true},
               {"**", "", true},
               {"", "", true},
               {"", "a", false},
               {"file.txt", "FILE.TXT", true},
               {"file.txt", "file.tx", false}};
  for (const auto& c : cases) EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
  EXPECT_TRUE(HasWildcards("a*") && HasWildcards("a?"));
  EXPECT_FALSE(HasWildcards("a.b"));
}

class FindFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteWholeFile(dir_.File("one.txt"), "1");
    test::WriteWholeFile(dir_.File("TWO.TXT"), "22");
    test::WriteWholeFile(dir_.File("three.dat"), "333");
    fs::create_directory(dir_.File("sub"));
  }

  std::set<std::string> All(const std::string& pattern) {
    std::set<std::string> names;
    CFindFile find;
    if (!find.First(pattern.c_str())) return names;
    do names.insert(find.Name());
    while (find.Next());
    EXPECT_FALSE(find.Next()) << "the end stays the end";
    return names;
  }

  TempDir dir_;
};

TEST_F(FindFileTest, PatternSelectsIgnoringCase) {
  EXPECT_EQ(All(dir_.File("*.txt")), (std::set<std::string>{"one.txt", "TWO.TXT"}));
  EXPECT_EQ(All(dir_.File("t*")), (std::set<std::string>{"TWO.TXT", "three.dat"}));
  EXPECT_EQ(All(dir_.File("*.*")), (std::set<std::string>{".", "..", "one.txt", "TWO.TXT", "three.dat", "sub"}));
}

TEST_F(FindFileTest, PlainNameFindsTheEntryItselfWithItsDetails) {
  CFindFile find;
  ASSERT_TRUE(find.First(dir_.File("sub").c_str()));
  EXPECT_TRUE(find.IsDirectory());
  EXPECT_STREQ(find.Name(), "sub");
  EXPECT_FALSE(find.Next());
  ASSERT_TRUE(find.First(dir_.File("*.*").c_str()));
  ASSERT_TRUE(find.First(dir_.File("THREE.*").c_str())) << "replaces the earlier search; case is ignored";
  EXPECT_EQ(find.Size(), 3u);
  EXPECT_EQ(find.FullSize(), 3u);
  EXPECT_FALSE(find.IsLink() || find.IsDirectory());
  EXPECT_EQ(find.Attributes() & platform::kAttributeDirectory, 0u);
  EXPECT_NE(find.Data().lastWriteTime.Ticks(), 0u);
  EXPECT_STREQ(find.FullPath(), dir_.File("three.dat").c_str());
  char small[9] = "abc";
  EXPECT_FALSE(find.Name(small, sizeof small));
  EXPECT_STREQ(small, "");
  char fits[10];
  EXPECT_TRUE(find.Name(fits, sizeof fits));
  EXPECT_STREQ(fits, "three.dat");
  EXPECT_FALSE(find.Next()) << "the first search is gone";
}

TEST_F(FindFileTest, PatternWithoutFolderGivesTheBareName) {
  const fs::path previous = fs::current_path();
  fs::current_path(dir_.Path());
  CFindFile find;
  const bool found = find.First("*.dat");
  fs::current_path(previous);
  ASSERT_TRUE(found);
  EXPECT_STREQ(find.FullPath(), "three.dat");
}

TEST_F(FindFileTest, NoMatchLeavesNoSearchOpen) {
  CFindFile find;
  EXPECT_FALSE(find.First(dir_.File("*.none").c_str()));
  EXPECT_FALSE(find.Next());
  EXPECT_FALSE(find.First(dir_.File("missing-folder/*.*").c_str()));
  EXPECT_FALSE(find.First(nullptr));
  const std::string tooLong = dir_.Path() + std::string(256, 'x');
  EXPECT_FALSE(find.First(tooLong.c_str())) << "a pattern of 256 characters or more is refused";
}

TEST_F(FindFileTest, LinksCarryTheReparseAttribute) {
  std::error_code error;
  fs::create_directory_symlink(dir_.File("sub"), dir_.File("folder-link"), error);
  if (error) GTEST_SKIP() << "links cannot be made here: " << error.message();
  CFindFile find;
  ASSERT_TRUE(find.First(dir_.File("folder-link").c_str()));
  EXPECT_TRUE(find.IsLink());
  EXPECT_TRUE(find.IsDirectory()) << "a link to a folder stands for a folder";
}

}  // namespace
}  // namespace velinst
