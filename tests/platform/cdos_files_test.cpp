#include "platform/base64.h"
#include "platform/cdos.h"
#include "platform/last_error.h"
#include "platform/path_separator.h"
#include "platform/temp_file_name.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace velinst {
namespace {

using test::TempDir;

// The holder opens the file for reading and writing, sharing both: on Windows
// the first, narrower opening of each call meets a sharing violation and the
// retry succeeds.
TEST(CDOSFiles, SetTimesReadBackExactlyAndAbsentOnesAreKeptWhileAnotherHoldsTheFile) {
  TempDir dir;
  const std::string file = dir.File("stamped.txt");
  test::WriteWholeFile(file, "x");
  std::fstream holder(file, std::ios::in | std::ios::out | std::ios::binary);
  ASSERT_TRUE(holder.is_open());
  CDOS dos;
  const FileTime creation = FileTimeFromUnix(915148800), access = FileTimeFromUnix(981173106, 700000000);
  const FileTime write = FileTimeFromUnix(946684800, 100), later = FileTimeFromUnix(1100000000, 300);
  ASSERT_TRUE(dos.SetFileTimes(file.c_str(), &creation, &access, &write));
  ASSERT_TRUE(dos.SetFileTimes(file.c_str(), nullptr, nullptr, &later)) << "only the write time";
  FileTime readCreation, readAccess, readWrite;
  ASSERT_TRUE(dos.GetFileTimes(file.c_str(), &readCreation, &readAccess, &readWrite) &&
              dos.GetFileTimes(file.c_str(), nullptr, nullptr, nullptr));
  EXPECT_EQ(std::vector<std::uint64_t>({readAccess.Ticks(), readWrite.Ticks()}),
            std::vector<std::uint64_t>({access.Ticks(), later.Ticks()}));
  EXPECT_GT(readCreation.Ticks(), kFileTimeUnixEpoch) << "the birth or change time, after 1970";
  const FileTime old = FileTimeFromUnix(631152000);  // 1990-01-01
  ASSERT_TRUE(dos.SetFileTimes(file.c_str(), nullptr, &old, &old));
  EXPECT_EQ(dos.EarliestTime(file.c_str()), 631152000);
  EXPECT_GE(dos.CreationTime(file.c_str()), 631152000) << "Wine reports the older modification as creation";
}

TEST(CDOSFiles, PathsOf256CharactersOrMoreAreRefusedNotCut) {
  TempDir dir;
  // A real file behind the long path, so that a refusal is not mistaken for a missing file.
  const std::string folder = dir.Path() + std::string(200, 'd');
  const std::string file = folder + platform::kPathSeparator + std::string(60, 'f');
  std::error_code error;
  std::filesystem::create_directories(file + "-empty", error);
  test::WriteWholeFile(file, "contents");
  if (error || !std::filesystem::exists(file, error)) GTEST_SKIP() << "no long paths here";
  const std::string copy = dir.File("copy.txt");
  CDOS dos;
  FileTime time = FileTime::FromTicks(7);
  EXPECT_FALSE(dos.Exists(file.c_str()) || dos.GetFileTimes(file.c_str(), &time, nullptr, nullptr) ||
               dos.SetFileTimes(file.c_str(), nullptr, &time, &time) ||
               dos.CopySingleFile(copy.c_str(), file.c_str()) || dos.MoveSingleFile(copy.c_str(), file.c_str()) ||
               dos.DeleteSingleFile(file.c_str()) || dos.RemoveFolder((file + "-empty").c_str()));
  EXPECT_EQ(std::int64_t{dos.FileSize(file.c_str())} + dos.CreationTime(file.c_str()) + dos.EarliestTime(file.c_str()),
            0);
  EXPECT_EQ(time.Ticks(), 7u) << "outputs untouched on failure";
  EXPECT_FALSE(test::FileExists(copy));
  EXPECT_EQ(test::ReadWholeFile(file), "contents") << "nothing was done to the file";
  EXPECT_TRUE(std::filesystem::exists(file + "-empty", error));
  const std::string missing = dir.File("missing.txt");
  EXPECT_FALSE(dos.GetFileTimes(missing.c_str(), &time, nullptr, nullptr) || dos.Exists(missing.c_str()) ||
               dos.GetFileTimes(nullptr, &time, nullptr, nullptr));
  EXPECT_EQ(dos.CreationTime(missing.c_str()) + dos.EarliestTime(missing.c_str()), 0);
}

// The name made, or "" when the call gives zero.
std::string MakeTempName(const char* folder, const char* prefix, std::uint32_t unique) {
  PathBuffer name = "unchanged";
  const std::uint32_t made = CDOS().TemporaryFileName(name, folder, prefix, unique);
  EXPECT_TRUE(unique == 0 || made == 0 || made == unique);
  return made != 0 ? std::string(name) : "";
}

TEST(CDOSTemporaryName, UniqueZeroCreatesDistinctPrivateFilesAndANumberOnlyFormsTheName) {
  TempDir dir;
  PathBuffer temp;
  ASSERT_NE(platform::TemporaryFolder(temp, kPathCapacity - 1), 0u);
  const std::string made[] = {MakeTempName(dir.Path().c_str(), nullptr, 0),
                              MakeTempName(dir.Path().c_str(), nullptr, 0),
                              MakeTempName(nullptr, nullptr, 0)};  // no folder: the user's temporary folder
  for (int i = 0; i < 3; ++i) {
    const std::string folder = i < 2 ? dir.Path() : std::string(temp);
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
  const std::string named = MakeTempName(dir.Path().c_str(), "abcdef", 0x2A);
  EXPECT_TRUE(CDOS::EqualIgnoringCase(named.c_str(), (dir.Path() + "abc2A.TMP").c_str())) << named;
  EXPECT_FALSE(test::FileExists(named));
  std::string folder = dir.Path();
  folder.pop_back();
  EXPECT_EQ(MakeTempName(folder.c_str(), "v", 1).rfind(dir.Path() + "v1", 0), 0u) << "separator added";
  const std::string longFolder = dir.Path() + std::string(CDOS::kTemporaryFolderLimit, 'f');
  EXPECT_EQ(MakeTempName(longFolder.c_str(), nullptr, 1), "") << "folder over the limit is refused, not cut";
  EXPECT_EQ(MakeTempName(dir.File("no-such-folder").c_str(), nullptr, 0), "");
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

TEST(FileTime, ConvertsUnixInstantsBothWays) {
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
}

// A joined path needs room for its terminator: 255 characters fit, 256 do not.
TEST(PathBuffer, JoinRefusesAPathThatLeavesNoRoomForItsTerminator) {
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

}  // namespace
}  // namespace velinst
