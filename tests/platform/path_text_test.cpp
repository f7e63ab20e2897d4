// What CDOS rests on: drive roots and case folding, file times and path
// buffers, Base64, wildcards and the deletion guard.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/base64.h"
#include "platform/cdos.h"
#include "platform/deletion_guard.h"
#include "platform/last_error.h"
#include "platform/path_separator.h"
#include "platform/wildcard_match.h"
#include "test_support.h"

namespace velinst {
namespace {

using test::TempDir;

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

}  // namespace
}  // namespace velinst
