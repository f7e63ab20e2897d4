// CDOS: the eject sequence and the drive inventory, which both talk to the
// volume device directly.
#include <cstdio>

#include "platform/cdos.h"

namespace velinst {

using platform::DriveType;

bool CDOS::OpenVolume(char letter, const platform::DriveQuery& drives, platform::IVolumeControl& volume) const {
  const DriveType type = drives.TypeOf(letter);
  if (type != DriveType::kRemovable && type != DriveType::kCdRom) {
    std::printf("Cannot eject.  Drive type is incorrect.\n");
    return false;
  }
  // A CD-ROM volume cannot be opened for writing.
  const std::uint32_t error = volume.Open(letter, type == DriveType::kRemovable);
  if (error != 0) {
    std::printf("CreateFile error %d\n", static_cast<int>(error));
    return false;
  }
  return true;
}

int CDOS::Eject(char letter) const { return Eject(letter, platform::SystemDrives(), *platform::SystemVolumeControl()); }

int CDOS::Eject(char letter, const platform::DriveQuery& drives, platform::IVolumeControl& volume) const {
  if (!OpenVolume(letter, drives, volume)) return 0;
  bool locked = false;
  for (int attempt = 0; attempt < kVolumeLockAttempts && !locked; ++attempt) {
    if (attempt > 0) volume.Wait(kVolumeLockDelay);
    locked = volume.Lock();
  }
  int result = 0;
  if (locked && volume.Dismount()) {
    result = 1;
    // The volume is gone from the system already: a medium that will not
    // come out does not change the result.
    if (volume.AllowRemoval(false)) volume.EjectMedium();
  }
  if (!volume.Close()) result = 0;
  return result;
}

void CDOS::ListDrives(std::vector<DriveInventoryRecord>& records) const {
  ListDrives(records, *platform::SystemDriveInventory());
}

void CDOS::ListDrives(std::vector<DriveInventoryRecord>& records, platform::IDriveInventoryQuery& query) const {
  std::uint32_t ordinal = 0;
  for (const std::string& root : query.DriveRoots()) {
    DriveInventoryRecord record;
    record.root = root;
    record.ordinal = ordinal++;
    // A drive that does not answer keeps "Unknown" throughout.
    if (const auto descriptor = query.DeviceDescriptor(root)) ReadDeviceDescriptor(*descriptor, record);
    records.push_back(std::move(record));
  }
}

}  // namespace velinst
