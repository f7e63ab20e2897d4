#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include "platform/cdos.h"
#include "platform/path_separator.h"

namespace velinst {
namespace {

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

  static Drive Of(DriveType type, bool medium = true) {
    Drive drive;
    drive.type = type;
    drive.medium = medium;
    return drive;
  }

  std::uint32_t LogicalDrives() const override {
    std::uint32_t mask = 0;
    for (const auto& [letter, drive] : drives) mask |= 1u << (letter - 'A');
    return mask;
  }
  DriveType TypeOf(char letter) const override {
    const auto found = drives.find(letter);
    return found == drives.end() ? DriveType::kNoRootDir : found->second.type;
  }
  bool HasMedium(char letter) const override { return drives.count(letter) && drives.at(letter).medium; }
  char CurrentDrive() const override { return 'C'; }
  bool SetCurrentDrive(char letter) const override { return drives.count(letter) != 0; }
  bool Space(char letter, DiskSpace& space) const override {
    if (!drives.count(letter)) return false;
    space = drives.at(letter).space;
    return true;
  }
  bool VolumeLabel(char letter, char* buffer, std::size_t size) const override {
    const char* label = drives.at(letter).label;
    if (label == nullptr) {
      std::memcpy(buffer, "garbage", 8);  // what a failed call may leave behind
      return false;
    }
    std::strncpy(buffer, label, size);
    return true;
  }
};

TEST(CDOSDrives, KindFollowsTheDriveType) {
  FakeDrives fake;
  fake.drives = {{'A', FakeDrives::Of(DriveType::kRemovable)}, {'B', FakeDrives::Of(DriveType::kRemovable)},
                 {'C', FakeDrives::Of(DriveType::kFixed)},     {'D', FakeDrives::Of(DriveType::kCdRom)},
                 {'E', FakeDrives::Of(DriveType::kRemovable)}, {'N', FakeDrives::Of(DriveType::kRemote)},
                 {'R', FakeDrives::Of(DriveType::kRamDisk)},   {'U', FakeDrives::Of(DriveType::kUnknown)}};
  const struct {
    char letter;
    int kind;
  } cases[] = {{'A', 9}, {'B', 9}, {'C', 4}, {'D', 42}, {'E', 8}, {'N', 16}, {'R', 4}, {'U', 0}, {'X', 0}};
  CDOS dos;
  for (const auto& c : cases) EXPECT_EQ(dos.DriveKind(c.letter, fake), c.kind) << c.letter;
  EXPECT_TRUE(CDOS::IsFloppyLetter('A'));
  EXPECT_TRUE(CDOS::IsFloppyLetter('B'));
  EXPECT_FALSE(CDOS::IsFloppyLetter('C'));
}

TEST(CDOSDrives, ReadinessTestsTheMediumWhereTheKindAsks) {
  FakeDrives fake;
  fake.drives = {{'A', FakeDrives::Of(DriveType::kRemovable, false)},
                 {'C', FakeDrives::Of(DriveType::kFixed, false)},
                 {'D', FakeDrives::Of(DriveType::kCdRom, false)},
                 {'E', FakeDrives::Of(DriveType::kCdRom, true)},
                 {'F', FakeDrives::Of(DriveType::kRemovable, false)}};
  CDOS dos;
  EXPECT_FALSE(dos.IsDriveReady('A', fake)) << "floppy without a disk";
  EXPECT_TRUE(dos.IsDriveReady('C', fake)) << "a fixed disk is not tested";
  EXPECT_FALSE(dos.IsDriveReady('D', fake)) << "empty CD drive";
  EXPECT_TRUE(dos.IsDriveReady('E', fake));
  EXPECT_TRUE(dos.IsDriveReady('F', fake)) << "other removable drives need no test";
  EXPECT_FALSE(dos.IsDriveReady('X', fake)) << "no such drive";
}

TEST(CDOSDrives, FirstCdDriveExaminesEveryDrivePresent) {
  FakeDrives fake;
  fake.drives = {{'C', FakeDrives::Of(DriveType::kFixed)}, {'D', FakeDrives::Of(DriveType::kCdRom)}};
  CDOS dos;
  EXPECT_EQ(dos.FirstCdDrive(fake), 'D') << "two drives, and the CD drive is the second letter after A";
  fake.drives = {{'C', FakeDrives::Of(DriveType::kFixed)},
                 {'G', FakeDrives::Of(DriveType::kCdRom)},
                 {'H', FakeDrives::Of(DriveType::kCdRom)}};
  EXPECT_EQ(dos.FirstCdDrive(fake), 'G');
  fake.drives = {{'C', FakeDrives::Of(DriveType::kFixed)}};
  EXPECT_EQ(dos.FirstCdDrive(fake), 0);
}

TEST(CDOSDrives, SpaceSaturatesInsteadOfWrapping) {
  FakeDrives fake;
  fake.drives['C'].space = DiskSpace{8, 512, 1000, 3000};
  fake.drives['D'].space = DiskSpace{8, 512, 2000000, 4000000};  // about 8 GB free and used
  fake.drives['E'].space = DiskSpace{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
  fake.drives['F'].space = DiskSpace{8, 512, 10, 5};  // an inconsistent answer
  CDOS dos;
  EXPECT_EQ(dos.FreeSpace('C', fake), 8u * 512 * 1000);
  EXPECT_EQ(dos.UsedSpace('C', fake), 8u * 512 * 2000);
  EXPECT_EQ(dos.FreeSpace('D', fake), 0xFFFFFFFFu);
  EXPECT_EQ(dos.UsedSpace('D', fake), 0xFFFFFFFFu);
  EXPECT_EQ(dos.FreeSpace('E', fake), 0xFFFFFFFFu);
  EXPECT_EQ(dos.UsedSpace('E', fake), 0u);
  EXPECT_EQ(dos.UsedSpace('F', fake), 0u);
  EXPECT_EQ(dos.FreeSpace('X', fake), 0u);
}

TEST(CDOSDrives, VolumeLabelNeedsAReadyDriveAndAnAnswer) {
  FakeDrives fake;
  fake.drives['C'].label = "DATA";
  fake.drives['D'] = FakeDrives::Of(DriveType::kCdRom, false);
  fake.drives['E'].label = "";
  fake.drives['F'].label = nullptr;
  CDOS dos;
  char label[CDOS::kLabelCapacity];
  EXPECT_TRUE(dos.VolumeLabel('C', label, fake));
  EXPECT_STREQ(label, "DATA");
  EXPECT_FALSE(dos.VolumeLabel('D', label, fake)) << "no disc";
  EXPECT_STREQ(label, "");
  EXPECT_FALSE(dos.VolumeLabel('E', label, fake)) << "an empty label";
  EXPECT_FALSE(dos.VolumeLabel('F', label, fake)) << "a failed query is no label";
  EXPECT_STREQ(label, "");
}

TEST(CDOSDrives, TheSystemsOwnDrives) {
  CDOS dos;
  if (platform::kRootFolderText != nullptr) {
    // The host has no drive letters.
    EXPECT_EQ(dos.DriveKind('C'), 0);
    EXPECT_FALSE(dos.IsDriveReady('C'));
    EXPECT_EQ(dos.CurrentDrive(), 0);
    EXPECT_FALSE(dos.SetCurrentDrive('C'));
    EXPECT_EQ(dos.FirstCdDrive(), 0);
    EXPECT_EQ(dos.FreeSpace('C'), 0u);
    EXPECT_EQ(dos.UsedSpace('C'), 0u);
    char label[CDOS::kLabelCapacity];
    EXPECT_FALSE(dos.VolumeLabel('C', label));
  } else {
    EXPECT_EQ(dos.DriveKind('C'), CDOS::kDriveFixed);
    EXPECT_TRUE(dos.IsDriveReady('C'));
    const char current = dos.CurrentDrive();
    EXPECT_TRUE(current >= 'A' && current <= 'Z') << current;
    EXPECT_GT(dos.FreeSpace('C'), 0u);
  }
}

TEST(CDOSDrives, CurrentFolderIsTheProcessFolder) {
  CDOS dos;
  PathBuffer folder;
  const std::uint32_t length = dos.CurrentFolder(folder);
  const std::string expected = std::filesystem::current_path().string();
  if (expected.size() < kPathCapacity) {
    EXPECT_EQ(length, expected.size());
    EXPECT_EQ(std::string(folder), expected);
  } else {
    EXPECT_EQ(length, expected.size() + 1) << "the size needed";
  }
}

}  // namespace
}  // namespace velinst
