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
  EXPECT_EQ(dos.DriveKind('X', fake), 0);
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
  if (platform::kRootFolderText != nullptr) {  // the host has no drive letters
    char label[CDOS::kLabelCapacity];
    EXPECT_FALSE(dos.VolumeLabel('C', label) || dos.IsDriveReady('C') || dos.SetCurrentDrive('C'));
    EXPECT_EQ(dos.DriveKind('C') + dos.CurrentDrive() + dos.FirstCdDrive(), 0);
    EXPECT_EQ(dos.FreeSpace('C') + dos.UsedSpace('C'), 0u);
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
