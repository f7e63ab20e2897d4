// CDOS: drives by letter.
#include "platform/cdos.h"
#include "platform/saturating.h"

namespace velinst {

using platform::DriveQuery;
using platform::DriveType;

bool CDOS::IsFloppyLetter(char letter) { return letter == 'A' || letter == 'B'; }

int CDOS::DriveKind(char letter, const DriveQuery& drives) const {
  switch (drives.TypeOf(letter)) {
    case DriveType::kRemovable:
      return IsFloppyLetter(letter) ? kDriveFloppy : kDriveRemovable;
    case DriveType::kFixed:
    case DriveType::kRamDisk:
      return kDriveFixed;
    case DriveType::kRemote:
      return kDriveNetwork;
    case DriveType::kCdRom:
      return kDriveCdRom;
    default:
      return kDriveNone;
  }
}

bool CDOS::IsMediumPresent(char letter, const DriveQuery& drives) const { return drives.HasMedium(letter); }

bool CDOS::IsDriveReady(char letter, const DriveQuery& drives) const {
  constexpr int kFloppyTest = 1;
  constexpr int kMediumTest = 2;
  const int kind = DriveKind(letter, drives);
  if (kind == kDriveNone) return false;
  if ((kind & kFloppyTest) != 0 || (kind & kMediumTest) != 0) return IsMediumPresent(letter, drives);
  return true;
}

char CDOS::CurrentDrive(const DriveQuery& drives) const { return drives.CurrentDrive(); }

bool CDOS::SetCurrentDrive(char letter, const DriveQuery& drives) const { return drives.SetCurrentDrive(letter); }

char CDOS::FirstCdDrive(const DriveQuery& drives) const {
  // Every drive present is examined, not only as many letters from A as
  // there are drives: with C: and D: alone, D: must still be found.
  const std::uint32_t present = drives.LogicalDrives();
  for (int index = 0; index < 26; ++index) {
    const char letter = static_cast<char>('A' + index);
    if ((present & (1u << index)) != 0 && (DriveKind(letter, drives) & 2) != 0) return letter;
  }
  return 0;
}

std::uint32_t CDOS::FreeSpace(char letter, const DriveQuery& drives) const {
  platform::DiskSpace space;
  if (!drives.Space(letter, space)) return 0;
  return SaturatingProduct(space.sectorsPerCluster, space.bytesPerSector, space.freeClusters);
}

std::uint32_t CDOS::UsedSpace(char letter, const DriveQuery& drives) const {
  platform::DiskSpace space;
  if (!drives.Space(letter, space) || space.freeClusters > space.totalClusters) return 0;
  return SaturatingProduct(space.totalClusters - space.freeClusters, space.sectorsPerCluster, space.bytesPerSector);
}

bool CDOS::VolumeLabel(char letter, char* buffer, const DriveQuery& drives) const {
  if (buffer == nullptr) return false;
  buffer[0] = '\0';
  if (!IsDriveReady(letter, drives)) return false;
  // A failed query leaves nothing to report: the label is not known.
  if (!drives.VolumeLabel(letter, buffer, kLabelCapacity)) {
    buffer[0] = '\0';
    return false;
  }
  buffer[kLabelCapacity - 1] = '\0';
  return buffer[0] != '\0';
}

}  // namespace velinst
