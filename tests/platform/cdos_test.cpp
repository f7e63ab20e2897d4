// CDOS: its files, trees and drives, and the helpers they rest on.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/base64.h"
#include "platform/cdos.h"
#include "platform/deletion_guard.h"
#include "platform/drive_inventory.h"
#include "platform/find_file.h"
#include "platform/last_error.h"
#include "platform/path_separator.h"
#include "platform/temp_file_name.h"
#include "platform/wildcard_match.h"
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

TEST(CDOSText, DriveRootsExtensionsAndCaseFolding) {
  const struct {
    const char* text;
    bool root;
  } roots[] = {{"C:", true},     {"C:\\", true}, {"Z:", true},   {"c:", false}, {"C:\\\\", false},
               {"C:\\x", false}, {"C", false},   {"CC:", false}, {"", false},   {"1:", false}};
  for (const auto& c : roots) EXPECT_EQ(CDOS::IsDriveRootText(c.text), c.root) << c.text;
  EXPECT_FALSE(CDOS::IsDriveRootText(nullptr));
  EXPECT_EQ(CDOS::IsDriveRootText("/"), platform::kRootFolderText != nullptr) << "the host root counts there";

  // The text after the last dot of the name; "-" for none.
  const std::string sep(1, platform::kPathSeparator);
  // clang-format off
  const std::pair<std::string, std::string> extensions[] = {
      {"archive.tar.gz", "gz"}, {"README", "-"}, {"name.", ""}, {"folder.d" + sep + "README", "-"},
      {"folder.d" + sep + "setup.exe", "exe"}, {std::string(256, 'x') + ".txt", "-"}};
  // clang-format on
  for (const auto& [path, expected] : extensions) {
    PathBuffer extension = "unchanged";
    EXPECT_EQ(CDOS::Extension(path.c_str(), extension) ? std::string(extension) : "-", expected) << path;
  }

  EXPECT_TRUE(CDOS::EqualIgnoringCase("Setup.EXE", "setup.exe") && !CDOS::EqualIgnoringCase("abc", "abcd") &&
              !CDOS::EqualIgnoringCase("abcd", "abc") && !CDOS::EqualIgnoringCase("a", nullptr));
  const char* text = "C:\\Program Files\\Vendor";
  EXPECT_EQ(CDOS::FindIgnoringCase(text, "VENDOR"), text + 17);
  EXPECT_EQ(CDOS::FindIgnoringCase(text, "vendors"), nullptr) << "no match reaching past the end";
  EXPECT_EQ(CDOS::FindIgnoringCase(text, ""), text);
}

TEST(FileTimeAndPathBuffer, UnixInstantsBothWaysAndJoinRefusesAPathWithoutRoomForItsTerminator) {
  struct Case {
    std::int64_t seconds;
    std::uint32_t nanoseconds;
    std::uint64_t ticks;
  };
  const Case cases[] = {
      {0, 0, kFileTimeUnixEpoch},
      {1, 500, kFileTimeUnixEpoch + kFileTimeTicksPerSecond + 5},
      {-kFileTimeUnixEpochSeconds, 0, 0},  // 1601-01-01
      {-86400, 0, kFileTimeUnixEpoch - 86400 * kFileTimeTicksPerSecond},
      {981173106, 700000000, 126256467067000000}  // 2001-02-03 04:05:06.7
  };
  for (const Case& c : cases) {
    const FileTime time = FileTimeFromUnix(c.seconds, c.nanoseconds);
    EXPECT_EQ(time.Ticks(), c.ticks) << c.seconds;
    EXPECT_EQ(UnixSeconds(time), c.seconds);
    EXPECT_EQ(UnixNanoseconds(time), c.nanoseconds / 100 * 100);
  }
  EXPECT_EQ(FileTimeFromUnix(-kFileTimeUnixEpochSeconds - 1).Ticks(), 0u) << "saturates";
  EXPECT_EQ(FileTimeFromUnix(INT64_MAX / 2).Ticks(), ~0ull);
  // A joined path needs room for its terminator: 255 characters fit, 256 do not.
  const std::string directory(100, 'd');  // a separator is added after it
  for (const std::size_t length : {kPathCapacity - 1, kPathCapacity}) {
    const std::string name(length - directory.size() - 1, 'n');
    PathBuffer buffer = "x";
    platform::SetLastError(0);
    const bool joined = JoinPath(buffer, directory.c_str(), name.c_str());
    EXPECT_EQ(joined, length < kPathCapacity) << length;
    EXPECT_EQ(std::string(buffer), joined ? directory + platform::kPathSeparator + name : "") << length;
    EXPECT_EQ(platform::LastError(), joined ? 0u : platform::kErrorTooLong) << length;
  }
}

// Both check that nothing is written past the stated size ('Z' is the canary).
std::string Encode(const std::string& bytes) {
  const std::size_t size = Base64EncodedSize(bytes.size());
  std::vector<char> out(size + 4, 'Z');
  Base64Encode(out.data(), reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  EXPECT_EQ(std::string(out.data() + size - 1, 5), std::string("\0ZZZZ", 5)) << "terminator at the stated size";
  return out.data();
}

// Decodes from a buffer of exactly `text.size()` bytes (no terminator to lean on).
std::string Decode(const std::string& text) {
  const std::vector<char> in(text.begin(), text.end());
  const std::size_t capacity = Base64DecodedCapacity(text.size());
  std::vector<std::uint8_t> out(capacity + 4, 'Z');
  const std::size_t count = Base64Decode(out.data(), in.data(), in.size());
  EXPECT_LE(count, capacity);
  EXPECT_EQ(std::string(out.begin() + capacity, out.end()), "ZZZZ");
  return std::string(out.begin(), out.begin() + count);
}

// Vectors both ways, then texts only decoded: a trailing partial group is
// not read, padding ends the text and a bad character spoils only its group.
TEST(Base64, VectorsAndDecodingOfWholeGroupsOnly) {
  const struct {
    std::string bytes, text;
    bool bothWays;
    // clang-format off
  } cases[] = {
      {"", "", true}, {"f", "Zg==", true}, {"fo", "Zm8=", true}, {"foobar", "Zm9vYmFy", true},
      {"foob", "Zm9vYg==", true}, {std::string("\xff\xfe\x00", 3), "//4A", true},
      {"", "Zm9", false}, {"foo", "Zm9vYmE", false}, {"a", "YQ==Zm9v", false}, {"ab", "YWI=Zm9v", false},
      {"a", "YQ=x", false}, {"fp/a", std::string("Zm\0vYQ==", 8), false},
      // '!' counts as 64: fourth, its seventh bit lands on the third character's lowest; first, above the group.
      {"fo\x40" "foo", "Zm9!Zm9v", false}, {"\x02oo" "a", "!m9vYQ==", false}};
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(c.bothWays ? Encode(c.bytes) : c.text, c.text);
    EXPECT_EQ(Decode(c.text), c.bytes) << c.text;
  }
  EXPECT_EQ(Base64EncodedSize(16), 25u);
}

TEST(WildcardMatch, FollowsTheWindowsRules) {
  const char* const matching[][2] = {
      {"*", "a.b.c"},   {"*.*", "abc"},          {"*.*", ".."},      {"*.txt", "a.TXT"},  {"a?c", "abc"},
      {"*.", "README"}, {"readme.*", "README"},  {"*a*b", "xxaxxb"}, {"a*b*c", "abbbbc"}, {"**", ""},
      {"", ""},         {"file.txt", "FILE.TXT"}};
  const char* const other[][2] = {{"*.txt", "a.txt.bak"},  {"a?c", "ac"},       {"?", ""}, {"*.", "a.b"},
                                  {"readme.*", "readmex"}, {"*a*b", "xxaxxbx"}, {"", "a"}, {"file.txt", "file.tx"}};
  for (const auto& c : matching) EXPECT_TRUE(MatchesWildcard(c[0], c[1])) << c[0] << " / " << c[1];
  for (const auto& c : other) EXPECT_FALSE(MatchesWildcard(c[0], c[1])) << c[0] << " / " << c[1];
  EXPECT_TRUE(HasWildcards("a*") && HasWildcards("a?") && !HasWildcards("a.b"));
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

// The guard's decision alone: nothing here deletes anything.
TEST(DeletionGuard, RefusesRootsSystemFoldersAndProtectedNames) {
  const DeletionGuard guard;
  // Drive roots in the platform's own separator as well as in '/'.
  const std::string root = std::string("C:") + platform::kPathSeparator;
  const std::string refused[] = {
      ".",  "..",  "",    "Windows", "program files",      "Program Files (x86)", "USERS",
      "C:", "C:/", "c:/", root,      "c" + root.substr(1), root + "Windows",      "c:/program files"};
  for (const std::string& path : refused) EXPECT_TRUE(guard.Refuses(path.c_str())) << '"' << path << '"';
  if (platform::kRootFolderText != nullptr) {
    for (const char* path : {"/", "/usr", "/etc", "/lib", "/home", "/usr/../usr", "/var/."})
      EXPECT_TRUE(guard.Refuses(path)) << path;
    if (const char* home = std::getenv("HOME")) {
      EXPECT_TRUE(guard.Refuses(home)) << home;
    }
  }
  const TempDir dir;
  for (const std::string& path : {dir.File("Windows"), dir.File("usr"), dir.File("a b&c")})
    EXPECT_FALSE(guard.Refuses(path.c_str())) << path;
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

using platform::DiskSpace;
using platform::DriveType;

// A drive table of the test's own.
class FakeDrives final : public platform::DriveQuery {
 public:
  struct Drive {
    DriveType type = DriveType::kFixed;
    bool medium = true;
    DiskSpace space;
    const char* label = "";  // null: the label query fails
  };
  std::map<char, Drive> drives;

  static Drive Of(DriveType type, bool medium = true) { return {type, medium, {}, ""}; }
  std::uint32_t LogicalDrives() const override {
    std::uint32_t mask = 0;
    for (const auto& entry : drives) mask |= 1u << (entry.first - 'A');
    return mask;
  }
  DriveType TypeOf(char letter) const override {
    return drives.count(letter) ? drives.at(letter).type : DriveType::kNoRootDir;
  }
  bool HasMedium(char letter) const override { return drives.count(letter) && drives.at(letter).medium; }
  char CurrentDrive() const override { return 'C'; }
  bool SetCurrentDrive(char letter) const override { return drives.count(letter) != 0; }
  bool Space(char letter, DiskSpace& space) const override {
    return drives.count(letter) && (space = drives.at(letter).space, true);
  }
  bool VolumeLabel(char letter, char* buffer, std::size_t size) const override {
    const char* label = drives.at(letter).label;  // a failed call may leave garbage behind
    return std::strncpy(buffer, label != nullptr ? label : "garbage", size) && label != nullptr;
  }
};

TEST(CDOSDrives, KindAndReadinessFollowTheDriveType) {
  const struct {
    char letter;
    DriveType type;
    bool medium;
    int kind;
    bool ready;
  } cases[] = {{'A', DriveType::kRemovable, false, 9, false},  // floppy without a disk
               {'B', DriveType::kRemovable, true, 9, true},   {'C', DriveType::kFixed, false, 4, true},
               {'D', DriveType::kCdRom, false, 42, false},    {'E', DriveType::kCdRom, true, 42, true},
               {'F', DriveType::kRemovable, false, 8, true},  // other removable drives need no test
               {'N', DriveType::kRemote, true, 16, true},     {'R', DriveType::kRamDisk, true, 4, true},
               {'U', DriveType::kUnknown, true, 0, false}};
  FakeDrives fake;
  for (const auto& c : cases) fake.drives[c.letter] = FakeDrives::Of(c.type, c.medium);
  CDOS dos;
  for (const auto& c : cases) {
    EXPECT_EQ(dos.DriveKind(c.letter, fake), c.kind) << c.letter;
    EXPECT_EQ(dos.IsDriveReady(c.letter, fake), c.ready) << c.letter;
  }
  EXPECT_FALSE(dos.DriveKind('X', fake) || dos.IsDriveReady('X', fake)) << "no such drive";
  EXPECT_EQ(dos.FirstCdDrive(fake), 'D') << "with or without a disc";
  EXPECT_EQ(dos.FirstCdDrive(FakeDrives{}), 0);
  // A label needs a ready drive and an answer: a failed query is no label.
  fake.drives['B'].label = "DATA";
  fake.drives['E'].label = nullptr;
  for (const auto& [letter, expected] :
       std::map<char, std::string>{{'B', "DATA"}, {'A', "-"}, {'C', "-"}, {'E', "-"}}) {
    char label[CDOS::kLabelCapacity] = "x";
    EXPECT_EQ(dos.VolumeLabel(letter, label, fake) ? label : "-" + std::string(label), expected) << letter;
  }
}

TEST(CDOSDrives, SpaceSaturatesInsteadOfWrapping) {
  const struct {
    DiskSpace space;
    std::uint32_t free, used;
  } cases[] = {{{8, 512, 1000, 3000}, 8u * 512 * 1000, 8u * 512 * 2000},
               {{8, 512, 2000000, 4000000}, 0xFFFFFFFFu, 0xFFFFFFFFu},  // about 8 GB free and used
               {{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, 0xFFFFFFFFu, 0},
               {{8, 512, 10, 5}, 8u * 512 * 10, 0}};  // an inconsistent answer
  for (const auto& c : cases) {
    FakeDrives fake;
    fake.drives['C'].space = c.space;
    EXPECT_EQ(CDOS().FreeSpace('C', fake), c.free) << c.space.freeClusters;
    EXPECT_EQ(CDOS().UsedSpace('C', fake), c.used) << c.space.freeClusters;
    EXPECT_EQ(CDOS().FreeSpace('X', fake), 0u);
  }
}

// A volume that refuses the calls named in `refuses` ("open" fails with
// error 32); it records the calls.
class FakeVolume final : public platform::IVolumeControl {
 public:
  std::string refuses;
  int lockSucceedsAt = 1;  // the attempt that succeeds; 0 for never
  std::string calls;
  int lockAttempts = 0;
  std::chrono::milliseconds waited{0};

  std::uint32_t Open(char letter, bool writeAccess) override {
    return Call(std::string("open ") + letter + (writeAccess ? " rw" : " r"), "open") ? 0 : 32;
  }
  bool Lock() override {
    if (++lockAttempts == 1) calls += "lock|";
    return lockSucceedsAt != 0 && lockAttempts >= lockSucceedsAt;
  }
  bool Dismount() override { return Call("dismount"); }
  bool AllowRemoval(bool prevent) override { return Call(prevent ? "prevent removal" : "allow removal"); }
  bool EjectMedium() override { return Call("eject"); }
  bool Close() override { return Call("close"); }
  void Wait(std::chrono::milliseconds delay) override { waited += delay; }

 private:
  bool Call(const std::string& name, const std::string& answerOf = "") {
    calls += name + "|";
    return refuses.find(answerOf.empty() ? name : answerOf) == std::string::npos;
  }
};

TEST(CdosVolumes, EjectSequenceAndItsResult) {
  const char* const whole = "open E r|lock|dismount|allow removal|eject|close|";
  const char* const wrongType = "Cannot eject.  Drive type is incorrect.\n";
  const struct {
    char letter;
    int lockSucceedsAt;
    const char* refuses;
    int result;
    const char* calls;
    int waitedMs;
    const char* output;
  } cases[] = {
      {'E', 1, "", 1, whole, 0, ""},
      {'F', 1, "", 1, "open F rw|lock|dismount|allow removal|eject|close|", 0, ""},  // removable: opened for writing
      {'E', 5, "", 1, whole, 200, ""},  // the lock is retried with a wait between attempts
      {'E', 20, "", 1, whole, 950, ""},
      {'E', 0, "", 0, "open E r|lock|close|", 950, ""},  // in use throughout: about one second, then nothing
      {'E', 1, "dismount", 0, "open E r|lock|dismount|close|", 0, ""},
      {'E', 1, "allow removal", 1, "open E r|lock|dismount|allow removal|close|", 0, ""},
      {'E', 1, "eject", 1, whole, 0, ""},
      {'E', 1, "close", 0, whole, 0, ""},
      {'E', 1, "open", 0, "open E r|", 0, "CreateFile error 32\n"},
      {'C', 1, "", 0, "", 0, wrongType},
      {'X', 1, "", 0, "", 0, wrongType}};
  FakeDrives drives;
  for (const auto& [letter, type] : std::map<char, DriveType>{
           {'C', DriveType::kFixed}, {'E', DriveType::kCdRom}, {'F', DriveType::kRemovable}, {'N', DriveType::kRemote}})
    drives.drives[letter] = FakeDrives::Of(type);
  for (const auto& c : cases) {
    FakeVolume volume;
    volume.lockSucceedsAt = c.lockSucceedsAt;
    volume.refuses = c.refuses;
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(CDOS().Eject(c.letter, drives, volume), c.result) << c.letter << c.lockSucceedsAt << c.refuses;
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), c.output);
    EXPECT_EQ(volume.calls, c.calls) << c.letter << c.lockSucceedsAt << c.refuses;
    EXPECT_EQ(volume.waited.count(), c.waitedMs) << c.letter << c.lockSucceedsAt << c.refuses;
  }
}

void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A storage device descriptor as a driver reports it: 36 bytes of header,
// then the texts.
std::vector<std::uint8_t> Descriptor(const char* vendor, const char* product, const char* serial) {
  std::vector<std::uint8_t> bytes(36, 0);
  const auto append = [&](const char* text, std::size_t field) {
    if (text == nullptr) return;
    Put32(bytes, field, static_cast<std::uint32_t>(bytes.size()));
    bytes.insert(bytes.end(), text, text + std::strlen(text) + 1);
  };
  append(vendor, 12);
  append(product, 16);
  append(serial, 24);
  Put32(bytes, 4, static_cast<std::uint32_t>(bytes.size()));
  return bytes;
}

TEST(DriveInventory, DescriptorOffsetsOutsideTheDescriptorAreIgnoredAndDriveStringsSplit) {
  std::vector<std::uint8_t> bytes = Descriptor("ATA", "DISK", "123");
  Put32(bytes, 12, static_cast<std::uint32_t>(bytes.size()));  // vendor just past the end
  Put32(bytes, 16, 0xFFFFFFFFu);
  bytes.pop_back();  // a text without its NUL ends with the descriptor
  DriveInventoryRecord whole, record, shortRecord;
  ReadDeviceDescriptor(Descriptor("ATA", "VELINST SSD", nullptr), whole);  // no serial number
  EXPECT_EQ(whole.vendorId + " " + whole.productId + " " + whole.serialNumber, "ATA VELINST SSD Unknown");
  ReadDeviceDescriptor(bytes, record);
  EXPECT_EQ(record.vendorId + " " + record.productId + " " + record.serialNumber, "Unknown Unknown 123");
  ReadDeviceDescriptor(std::vector<std::uint8_t>(20, 0xFF), shortRecord);
  EXPECT_EQ(shortRecord.vendorId + " " + shortRecord.serialNumber, "Unknown Unknown");
  const char list[] = "A:\\\0C:\\\0D:\\\0\0Z:\\\0";
  EXPECT_EQ(SplitDriveStrings(list, sizeof list - 1), (std::vector<std::string>{"A:\\", "C:\\", "D:\\"}));
  EXPECT_EQ(SplitDriveStrings(list, 5), (std::vector<std::string>{"A:\\", "C"}));
  EXPECT_TRUE(SplitDriveStrings(list, 0).empty());
}

}  // namespace
}  // namespace velinst
