// CDOS on files and trees, in the test's own folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/cdos.h"
#include "platform/find_file.h"
#include "platform/path_separator.h"
#include "platform/temp_file_name.h"
#include "test_support.h"

namespace velinst {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

class CDOSTrees : public ::testing::Test {
 protected:
  // `relative` with '/' between elements, in the test folder.
  std::string At(const std::string& relative) const {
    std::string path = dir_.Path() + relative;
    for (char& c : path)
      if (c == '/') c = platform::kPathSeparator;
    return path;
  }
  void Write(const std::string& relative, const std::string& contents) const {
    test::WriteWholeFile(At(relative), contents);
  }
  bool Has(const std::string& relative) const { return fs::exists(fs::symlink_status(At(relative))); }
  std::string Read(const std::string& relative) const { return test::ReadWholeFile(At(relative)); }

  std::set<std::string> All(const std::string& pattern) const {
    std::set<std::string> names;
    CFindFile find;
    if (!find.First(pattern.c_str())) return names;
    do names.insert(find.Name());
    while (find.Next());
    EXPECT_FALSE(find.Next()) << "the end stays the end";
    return names;
  }

  TempDir dir_;
  CDOS dos_;
};

// The holder opens the file for reading and writing, sharing both: on Windows
// the first, narrower opening of each call meets a sharing violation and the
// retry succeeds.
TEST_F(CDOSTrees, SetTimesReadBackExactlyAndAbsentOnesAreKeptWhileAnotherHoldsTheFile) {
  const std::string file = At("stamped.txt");
  test::WriteWholeFile(file, "x");
  std::fstream holder(file, std::ios::in | std::ios::out | std::ios::binary);
  ASSERT_TRUE(holder.is_open());
  const FileTime creation = FileTimeFromUnix(915148800), access = FileTimeFromUnix(981173106, 700000000);
  const FileTime write = FileTimeFromUnix(946684800, 100), later = FileTimeFromUnix(1100000000, 300);
  ASSERT_TRUE(dos_.SetFileTimes(file.c_str(), &creation, &access, &write));
  ASSERT_TRUE(dos_.SetFileTimes(file.c_str(), nullptr, nullptr, &later)) << "only the write time";
  FileTime readCreation, readAccess, readWrite;
  ASSERT_TRUE(dos_.GetFileTimes(file.c_str(), &readCreation, &readAccess, &readWrite) &&
              dos_.GetFileTimes(file.c_str(), nullptr, nullptr, nullptr));
  EXPECT_EQ(std::vector<std::uint64_t>({readAccess.Ticks(), readWrite.Ticks()}),
            std::vector<std::uint64_t>({access.Ticks(), later.Ticks()}));
  EXPECT_GT(readCreation.Ticks(), kFileTimeUnixEpoch) << "the birth or change time, after 1970";
  const FileTime old = FileTimeFromUnix(631152000);  // 1990-01-01
  ASSERT_TRUE(dos_.SetFileTimes(file.c_str(), nullptr, &old, &old));
  EXPECT_EQ(dos_.EarliestTime(file.c_str()), 631152000);
  EXPECT_GE(dos_.CreationTime(file.c_str()), 631152000) << "Wine reports the older modification as creation";
}

TEST_F(CDOSTrees, PathsOf256CharactersOrMoreAreRefusedNotCut) {
  // A real file behind the long path, so that a refusal is not mistaken for a missing file.
  const std::string folder = dir_.Path() + std::string(200, 'd');
  const std::string file = folder + platform::kPathSeparator + std::string(60, 'f');
  std::error_code error;
  std::filesystem::create_directories(file + "-empty", error);
  test::WriteWholeFile(file, "contents");
  if (error || !std::filesystem::exists(file, error)) GTEST_SKIP() << "no long paths here";
  const std::string copy = At("copy.txt");
  FileTime time = FileTime::FromTicks(7);
  EXPECT_FALSE(dos_.Exists(file.c_str()) || dos_.GetFileTimes(file.c_str(), &time, nullptr, nullptr) ||
               dos_.SetFileTimes(file.c_str(), nullptr, &time, &time) ||
               dos_.CopySingleFile(copy.c_str(), file.c_str()) || dos_.MoveSingleFile(copy.c_str(), file.c_str()) ||
               dos_.DeleteSingleFile(file.c_str()) || dos_.RemoveFolder((file + "-empty").c_str()));
  EXPECT_EQ(
      std::int64_t{dos_.FileSize(file.c_str())} + dos_.CreationTime(file.c_str()) + dos_.EarliestTime(file.c_str()), 0);
  EXPECT_EQ(time.Ticks(), 7u) << "outputs untouched on failure";
  EXPECT_FALSE(test::FileExists(copy));
  EXPECT_EQ(test::ReadWholeFile(file), "contents") << "nothing was done to the file";
  EXPECT_TRUE(std::filesystem::exists(file + "-empty", error));
  const std::string missing = At("missing.txt");
  EXPECT_FALSE(dos_.GetFileTimes(missing.c_str(), &time, nullptr, nullptr) || dos_.Exists(missing.c_str()) ||
               dos_.GetFileTimes(nullptr, &time, nullptr, nullptr));
  EXPECT_EQ(dos_.CreationTime(missing.c_str()) + dos_.EarliestTime(missing.c_str()), 0);
}

// The name made, or "" when the call gives zero.
std::string MakeTempName(const char* folder, const char* prefix, std::uint32_t unique) {
  PathBuffer name = "unchanged";
  const std::uint32_t made = CDOS().TemporaryFileName(name, folder, prefix, unique);
  EXPECT_TRUE(unique == 0 || made == 0 || made == unique);
  return made != 0 ? std::string(name) : "";
}

TEST_F(CDOSTrees, TemporaryNameUniqueZeroCreatesDistinctPrivateFilesAndANumberOnlyFormsTheName) {
  PathBuffer temp;
  ASSERT_NE(platform::TemporaryFolder(temp, kPathCapacity - 1), 0u);
  const std::string made[] = {MakeTempName(dir_.Path().c_str(), nullptr, 0),
                              MakeTempName(dir_.Path().c_str(), nullptr, 0),
                              MakeTempName(nullptr, nullptr, 0)};  // no folder: the user's temporary folder
  for (int i = 0; i < 3; ++i) {
    const std::string folder = i < 2 ? dir_.Path() : std::string(temp);
    EXPECT_TRUE(made[i].rfind(folder + "TMP", 0) == 0 && made[i].size() > folder.size() + 7 &&
                CDOS::EqualIgnoringCase(made[i].c_str() + made[i].size() - 4, ".tmp"))
        << made[i];
    EXPECT_TRUE(test::FileExists(made[i])) << "created exclusively";
    if (platform::kRootFolderText != nullptr) {
      EXPECT_EQ(std::filesystem::status(made[i]).permissions(),
                std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    }
  }
  EXPECT_NE(made[0], made[1]);
  std::remove(made[2].c_str());
  const std::string named = MakeTempName(dir_.Path().c_str(), "abcdef", 0x2A);
  EXPECT_TRUE(CDOS::EqualIgnoringCase(named.c_str(), (dir_.Path() + "abc2A.TMP").c_str())) << named;
  EXPECT_FALSE(test::FileExists(named));
  std::string folder = dir_.Path();
  folder.pop_back();
  EXPECT_EQ(MakeTempName(folder.c_str(), "v", 1).rfind(dir_.Path() + "v1", 0), 0u) << "separator added";
  const std::string longFolder = dir_.Path() + std::string(CDOS::kTemporaryFolderLimit, 'f');
  EXPECT_EQ(MakeTempName(longFolder.c_str(), nullptr, 1), "") << "folder over the limit is refused, not cut";
  EXPECT_EQ(MakeTempName(At("no-such-folder").c_str(), nullptr, 0), "");
}

// Links inside the source, to a folder and a file outside it, where the
// platform can make them.
TEST_F(CDOSTrees, CopyTreeCopiesEveryLevelPassesOverFailuresAndDeletesLinksNotTargets) {
  fs::create_directories(At("src/inner/deep"));
  fs::create_directories(At("outside"));
  for (const char* file : {"src/a.txt", "src/inner/b.txt", "src/inner/deep/c.txt", "outside/keep.txt"})
    Write(file, std::string(file).substr(std::string(file).rfind('/') + 1));
  std::error_code error;
  fs::create_directory_symlink(At("outside"), At("src/folder-link"), error);
  if (!error) fs::create_directory_symlink(At("outside"), At("src/inner/folder-link"), error);
  if (!error) fs::create_symlink(At("outside/keep.txt"), At("src/file-link.txt"), error);
  const bool links = !error;
  fs::create_directories(At("dst/a.txt"));  // a folder where a file should go
  Write("dst/inner/b.txt", "old");
  Write("dst/extra.txt", "stays");
  EXPECT_TRUE(dos_.CopyTree(At("dst").c_str(), At("src").c_str())) << "true when single copies fail";
  EXPECT_EQ(Read("dst/inner/b.txt") + Read("dst/inner/deep/c.txt") + Read("dst/extra.txt"), "b.txtc.txtstays");
  EXPECT_TRUE(dos_.CopyTree(At("dst2").c_str(), At("no-such-source").c_str()));
  if (links) {
    EXPECT_EQ(Read("dst/file-link.txt"), "keep.txt");
    EXPECT_FALSE(fs::is_symlink(At("dst/file-link.txt"))) << "the target's contents, as a file";
    EXPECT_FALSE(Has("dst/folder-link")) << "a linked folder is not descended into";
    CFindFile find;
    ASSERT_TRUE(find.First(At("src/folder-link").c_str()));
    EXPECT_TRUE(find.IsLink() && find.IsDirectory()) << "a link to a folder stands for a folder";
    find.Close();
    EXPECT_TRUE(dos_.DeleteTree(At("src/folder-link").c_str()) && !Has("src/folder-link"));
  }
  EXPECT_TRUE(dos_.DeleteTree((At("src") + platform::kPathSeparator).c_str())) << "with links inside";
  EXPECT_FALSE(Has("src"));
  EXPECT_EQ(Read("outside/keep.txt"), "keep.txt");
  EXPECT_FALSE(dos_.DeleteTree(At("src").c_str())) << "nothing left to delete";
}

// Makes the test folder the current folder for the object's lifetime, so
// that relative names reach only the test's own trees.
class CurrentFolderInside {
 public:
  explicit CurrentFolderInside(const std::string& folder) : previous_(fs::current_path()) { fs::current_path(folder); }
  ~CurrentFolderInside() { fs::current_path(previous_); }

 private:
  fs::path previous_;
};

TEST_F(CDOSTrees, DeleteTreeLeavesATreeTheGuardRefusesWholeAndPassesOverEntriesAfterAFailure) {
  fs::create_directories(At("Windows/System32"));
  fs::create_directories(At("Program Files"));
  Write("Windows/System32/keep.txt", "keep");
  Write("Program Files/keep.txt", "keep");
  {
    const CurrentFolderInside inside(dir_.Path());
    for (const char* path : {"Windows", "Program Files", "program files/", "."})
      EXPECT_FALSE(dos_.DeleteTree(path)) << path;
  }
  EXPECT_EQ(Read("Windows/System32/keep.txt") + Read("Program Files/keep.txt"), "keepkeep");
  EXPECT_FALSE(dos_.DeleteTree(nullptr) || dos_.DeleteTree(At(std::string(256, 'x')).c_str())) << "too long: refused";
  // A tree with such names inside it is an ordinary tree.
  EXPECT_TRUE(dos_.DeleteTree(At("Windows/System32").c_str()));
  // An entry whose full path does not fit the working buffer cannot be
  // deleted: the entries after it are passed over.
  const std::string tooLong(250, 'n');
  fs::create_directories(At("src"));
  for (const std::string& name : std::vector<std::string>{"a.txt", "b.txt", "c.txt", "d.txt", tooLong})
    Write("src/" + name, "x");
  if (!Has("src/" + tooLong)) GTEST_SKIP() << "no long paths here";
  std::vector<std::string> order;  // as the walk will meet them
  for (CFindFile find; order.empty() ? find.First(At("src/*.*").c_str()) : find.Next();)
    order.emplace_back(find.Name());
  ASSERT_EQ(order.size(), 7u) << "the four files, the long one, \".\" and \"..\"";
  EXPECT_FALSE(dos_.DeleteTree(At("src").c_str()));
  EXPECT_TRUE(Has("src"));
  bool failed = false;
  for (const std::string& name : order) {
    if (name == "." || name == "..") continue;
    failed = failed || name == tooLong;
    EXPECT_EQ(Has("src/" + name), failed) << name << (failed ? " is after the failure" : " is before it");
  }
}

TEST_F(CDOSTrees, FolderPathsSingleFilesMatchesAndLargeFiles) {
  EXPECT_TRUE(dos_.CreateFolderPath(At("a/b/c/").c_str()) && fs::is_directory(At("a/b/c"))) << "trailing separator";
  EXPECT_TRUE(dos_.CreateFolderPath(At("a/b").c_str())) << "an existing folder";
  Write("file", "x");
  EXPECT_FALSE(dos_.CreateFolderPath(At("file").c_str())) << "a file has the name";
  EXPECT_FALSE(dos_.CreateFolderPath("") || dos_.CreateFolderPath(nullptr));
  EXPECT_FALSE(dos_.CreateFolderPath(At(std::string(256, 'x')).c_str()));
  EXPECT_FALSE(Has(std::string(255 - dir_.Path().size(), 'x'))) << "a long path is refused, not cut and created";
  Write("one.txt", "1");
  Write("two.txt", std::string(20, '2'));
  EXPECT_FALSE(dos_.MoveSingleFile(At("two.txt").c_str(), At("one.txt").c_str())) << "the destination exists";
  EXPECT_TRUE(dos_.MoveSingleFile(At("moved.txt").c_str(), At("one.txt").c_str()) && !Has("one.txt"));
  EXPECT_EQ(dos_.PatternSize(At("*.txt").c_str()) + dos_.PatternSize(At("*.none").c_str()), 21u);
  EXPECT_TRUE(dos_.CopySingleFile(At("two.txt").c_str(), At("moved.txt").c_str())) << "copies replace";
  EXPECT_FALSE(dos_.CopySingleFile(At("two.txt").c_str(), At("two.txt").c_str()));
  EXPECT_EQ(Read("two.txt"), "1") << "a file copied onto itself keeps its contents";
  EXPECT_EQ(dos_.FileSize(At("two.txt").c_str()) + dos_.FileSize(At("none.txt").c_str()), 1u);
  EXPECT_TRUE(dos_.DeleteSingleFile(At("two.txt").c_str()) && !dos_.DeleteSingleFile(At("two.txt").c_str()));
  fs::create_directories(At("full/inner"));
  EXPECT_FALSE(dos_.RemoveFolder(At("full").c_str())) << "not empty";
  EXPECT_TRUE(dos_.RemoveFolder(At("full/inner").c_str()) && dos_.IsFolder(At("full").c_str()) &&
              !dos_.IsFolder(At("moved.txt").c_str()) && !dos_.IsFolder(At("none").c_str()));
  char name[16] = "unchanged";
  EXPECT_FALSE(dos_.FirstMatchName(At("*.none").c_str(), name, sizeof name) ||
               dos_.FirstMatchName(At("moved.*").c_str(), name, 9))
      << "none, or does not fit";
  EXPECT_TRUE(std::string(name) == "unchanged" && dos_.FirstMatchName(At("moved.*").c_str(), name, 10));
  EXPECT_STREQ(name, "moved.txt");
  // Large files saturate the pattern size.
  Write("huge.bin", "");
  std::error_code error;
  fs::resize_file(At("huge.bin"), (5ull << 30) + 7, error);  // sparse where the file system allows
  Write("small.bin", "x");
  if (!error) {  // else no room for a large file
    EXPECT_EQ(dos_.PatternSize(At("*.bin").c_str()), 0xFFFFFFFFu) << "never read as a small size";
    EXPECT_EQ(dos_.FileSize(At("huge.bin").c_str()), (1u << 30) + 7) << "the file size keeps its low 32 bits";
  }
}

TEST_F(CDOSTrees, FindPatternSelectsIgnoringCaseAndANewSearchReplacesTheOld) {
  for (const char* name : {"one.txt", "TWO.TXT", "three.dat"}) Write(name, std::string(std::strlen(name) - 6, 'x'));
  fs::create_directory(At("sub"));
  EXPECT_EQ(All(At("*.txt")), (std::set<std::string>{"one.txt", "TWO.TXT"}));
  EXPECT_EQ(All(At("t*")), (std::set<std::string>{"TWO.TXT", "three.dat"}));
  EXPECT_EQ(All(At("*.*")), (std::set<std::string>{".", "..", "one.txt", "TWO.TXT", "three.dat", "sub"}));
  EXPECT_EQ(All(At("sub")), std::set<std::string>{"sub"}) << "a plain name finds the entry itself";
  for (const std::string& none : {At("*.none"), At("missing-folder/*.*"), dir_.Path() + std::string(256, 'x')})
    EXPECT_EQ(All(none), std::set<std::string>{}) << "a pattern of 256 characters or more is refused";
  EXPECT_FALSE(CFindFile().First(nullptr));
  CFindFile find;
  ASSERT_TRUE(find.First(At("sub").c_str()) && find.IsDirectory());
  ASSERT_TRUE(find.First(At("THREE.*").c_str())) << "replaces the earlier search; case is ignored";
  EXPECT_EQ(find.Size() + find.FullSize(), 6u);
  EXPECT_FALSE(find.IsLink() || find.IsDirectory() || (find.Attributes() & platform::kAttributeDirectory) != 0);
  EXPECT_STREQ(find.FullPath(), At("three.dat").c_str());
  char small[9] = "abc", fits[10];
  EXPECT_TRUE(!find.Name(small, sizeof small) && find.Name(fits, sizeof fits));
  EXPECT_EQ(std::string(small) + "|" + fits, "|three.dat");
  EXPECT_FALSE(find.Next()) << "the first search is gone";
  {
    const CurrentFolderInside inside(dir_.Path());
    ASSERT_TRUE(find.First("*.dat"));
  }
  EXPECT_STREQ(find.FullPath(), "three.dat") << "a pattern without folder gives the bare name";
}

}  // namespace
}  // namespace velinst
