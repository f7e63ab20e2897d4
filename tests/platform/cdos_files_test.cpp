#include "platform/cdos.h"
#include "platform/path_separator.h"
#include "platform/temp_file_name.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace velinst {
namespace {

using test::TempDir;

bool EndsWithIgnoringCase(const std::string& text, const std::string& tail) {
  if (text.size() < tail.size()) return false;
  for (std::size_t i = 0; i < tail.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[text.size() - tail.size() + i])) !=
        std::tolower(static_cast<unsigned char>(tail[i])))
      return false;
  return true;
}

TEST(CDOSFiles, SetTimesReadBackExactlyAndAbsentOnesAreKept) {
  TempDir dir;
  const std::string file = dir.File("stamped.txt");
  test::WriteWholeFile(file, "x");
  CDOS dos;
  const FileTime creation = FileTimeFromUnix(915148800);  // 1999-01-01
  const FileTime access = FileTimeFromUnix(981173106, 700000000);
  const FileTime write = FileTimeFromUnix(946684800, 100);  // 2000-01-01, 100 ns past
  ASSERT_TRUE(dos.SetFileTimes(file.c_str(), &creation, &access, &write));
  const FileTime later = FileTimeFromUnix(1100000000, 300);
  ASSERT_TRUE(dos.SetFileTimes(file.c_str(), nullptr, nullptr, &later)) << "only the write time";
  FileTime readCreation, readAccess, readWrite;
  ASSERT_TRUE(dos.GetFileTimes(file.c_str(), &readCreation, &readAccess, &readWrite));
  EXPECT_EQ(readAccess.Ticks(), access.Ticks());
  EXPECT_EQ(readWrite.Ticks(), later.Ticks());
  EXPECT_GT(readCreation.Ticks(), kFileTimeUnixEpoch) << "the birth or change time, after 1970";
  // Wine, on Linux too, keeps no settable creation time; Windows would show it.
  if (platform::kRootFolderText != nullptr) {
    EXPECT_NE(readCreation.Ticks(), creation.Ticks());
  }
  EXPECT_TRUE(dos.GetFileTimes(file.c_str(), nullptr, nullptr, nullptr)) << "every output may be absent";
  EXPECT_TRUE(dos.Exists(file.c_str()));
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
  std::filesystem::create_directories(folder, error);
  test::WriteWholeFile(file, "contents");
  if (error || !std::filesystem::exists(file, error)) GTEST_SKIP() << "no long paths here";
  ASSERT_GE(file.size(), kPathCapacity);
  const std::string copy = dir.File("copy.txt");
  CDOS dos;
  EXPECT_FALSE(dos.Exists(file.c_str()));
  EXPECT_EQ(dos.FileSize(file.c_str()), 0u);
  EXPECT_EQ(dos.CreationTime(file.c_str()), 0);
  EXPECT_EQ(dos.EarliestTime(file.c_str()), 0);
  FileTime time = FileTimeFromUnix(1000000000);
  EXPECT_FALSE(dos.GetFileTimes(file.c_str(), &time, nullptr, nullptr));
  EXPECT_FALSE(dos.SetFileTimes(file.c_str(), nullptr, &time, &time));
  EXPECT_FALSE(dos.CopySingleFile(copy.c_str(), file.c_str()));
  EXPECT_FALSE(dos.MoveSingleFile(copy.c_str(), file.c_str()));
  EXPECT_FALSE(test::FileExists(copy));
  EXPECT_FALSE(dos.DeleteSingleFile(file.c_str()));
  std::filesystem::create_directories(file + "-empty", error);
  EXPECT_FALSE(dos.RemoveFolder((file + "-empty").c_str()));
  EXPECT_EQ(test::ReadWholeFile(file), "contents") << "nothing was done to the file";
  EXPECT_TRUE(std::filesystem::exists(file + "-empty", error));
}

TEST(CDOSFiles, TimesOfAFileHeldOpenForWritingByAnother) {
  TempDir dir;
  const std::string file = dir.File("busy.txt");
  test::WriteWholeFile(file, "x");
  // Open for reading and writing, sharing both: on Windows the first, narrower
  // opening of each call meets a sharing violation and the retry succeeds.
  std::fstream holder(file, std::ios::in | std::ios::out | std::ios::binary);
  ASSERT_TRUE(holder.is_open());
  CDOS dos;
  const FileTime write = FileTimeFromUnix(1200000000);
  EXPECT_TRUE(dos.SetFileTimes(file.c_str(), nullptr, nullptr, &write));
  FileTime read;
  EXPECT_TRUE(dos.GetFileTimes(file.c_str(), nullptr, nullptr, &read));
  EXPECT_EQ(read.Ticks(), write.Ticks());
}

TEST(CDOSFiles, MissingFileHasNoTimes) {
  TempDir dir;
  const std::string missing = dir.File("missing.txt");
  CDOS dos;
  FileTime time = FileTime::FromTicks(7);
  EXPECT_FALSE(dos.GetFileTimes(missing.c_str(), &time, nullptr, nullptr));
  EXPECT_EQ(time.Ticks(), 7u) << "outputs untouched on failure";
  EXPECT_FALSE(dos.SetFileTimes(missing.c_str(), nullptr, &time, &time));
  EXPECT_FALSE(dos.GetFileTimes(nullptr, &time, nullptr, nullptr));
  EXPECT_EQ(dos.CreationTime(missing.c_str()), 0);
  EXPECT_EQ(dos.EarliestTime(missing.c_str()), 0);
  EXPECT_FALSE(dos.Exists(missing.c_str()));
}

struct TempName {
  std::uint32_t unique = 0;
  std::string name;
};

TempName MakeTempName(const char* folder, const char* prefix, std::uint32_t unique) {
  PathBuffer name = "unchanged";
  const std::uint32_t made = CDOS().TemporaryFileName(name, folder, prefix, unique);
  return {made, std::string(name)};
}

TEST(CDOSTemporaryName, UniqueZeroCreatesDistinctPrivateFiles) {
  TempDir dir;
  PathBuffer temp;
  ASSERT_NE(platform::TemporaryFolder(temp, kPathCapacity - 1), 0u);
  const std::string folders[] = {dir.Path(), dir.Path(), temp};
  const TempName made[] = {MakeTempName(dir.Path().c_str(), nullptr, 0), MakeTempName(dir.Path().c_str(), nullptr, 0),
                           MakeTempName(nullptr, nullptr, 0)};  // no folder: the user's temporary folder
  for (int i = 0; i < 3; ++i) {
    ASSERT_NE(made[i].unique, 0u);
    EXPECT_EQ(made[i].name.rfind(folders[i] + "TMP", 0), 0u) << made[i].name;
    EXPECT_TRUE(EndsWithIgnoringCase(made[i].name, ".tmp")) << made[i].name;
    EXPECT_TRUE(test::FileExists(made[i].name)) << "created exclusively";
    if (platform::kRootFolderText != nullptr) {
      EXPECT_EQ(std::filesystem::status(made[i].name).permissions(),
                std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    }
  }
  EXPECT_NE(made[0].name, made[1].name);
  std::remove(made[2].name.c_str());
}

TEST(CDOSTemporaryName, NonZeroNumberOnlyFormsTheName) {
  TempDir dir;
  const TempName made = MakeTempName(dir.Path().c_str(), "abcdef", 0x2A);
  EXPECT_EQ(made.unique, 0x2Au);
  ASSERT_EQ(made.name.size(), dir.Path().size() + std::strlen("abc2A.TMP"));
  EXPECT_EQ(made.name.rfind(dir.Path() + "abc", 0), 0u) << "first three characters of the prefix";
  EXPECT_TRUE(EndsWithIgnoringCase(made.name, "2a.tmp")) << made.name;
  EXPECT_FALSE(test::FileExists(made.name));
  std::string folder = dir.Path();
  folder.pop_back();
  EXPECT_EQ(MakeTempName(folder.c_str(), "v", 1).name.rfind(dir.Path() + "v1", 0), 0u) << "separator added";
  const std::string longFolder = dir.Path() + std::string(CDOS::kTemporaryFolderLimit, 'f');
  EXPECT_EQ(MakeTempName(longFolder.c_str(), nullptr, 1).unique, 0u) << "folder over the limit is refused, not cut";
  EXPECT_EQ(MakeTempName(dir.File("no-such-folder").c_str(), nullptr, 0).unique, 0u);
}

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

TEST(CDOSText, CompareAndFindIgnoringCase) {
  EXPECT_TRUE(CDOS::EqualIgnoringCase("Setup.EXE", "setup.exe"));
  EXPECT_FALSE(CDOS::EqualIgnoringCase("abc", "abcd"));
  EXPECT_FALSE(CDOS::EqualIgnoringCase("abcd", "abc"));
  EXPECT_FALSE(CDOS::EqualIgnoringCase("a", nullptr));
  const char* text = "C:\\Program Files\\Vendor";
  EXPECT_EQ(CDOS::FindIgnoringCase(text, "program"), text + 3);
  EXPECT_EQ(CDOS::FindIgnoringCase(text, "VENDOR"), text + 17);
  EXPECT_EQ(CDOS::FindIgnoringCase(text, "vendors"), nullptr) << "no match reaching past the end";
  EXPECT_EQ(CDOS::FindIgnoringCase(text, ""), text);
  EXPECT_EQ(CDOS::FindIgnoringCase(nullptr, "x"), nullptr);
}

}  // namespace
}  // namespace velinst
