#include "platform/drive_query.h"

#include <windows.h>

namespace velinst::platform {

namespace {

struct Root {
  explicit Root(char letter) : text{letter, ':', '\\', '\0'} {}
  char text[4];
};

class SystemDriveQuery final : public DriveQuery {
 public:
  std::uint32_t LogicalDrives() const override { return ::GetLogicalDrives(); }

  DriveType TypeOf(char letter) const override {
    switch (::GetDriveTypeA(Root(letter).text)) {
      case DRIVE_NO_ROOT_DIR:
        return DriveType::kNoRootDir;
      case DRIVE_REMOVABLE:
        return DriveType::kRemovable;
      case DRIVE_FIXED:
        return DriveType::kFixed;
      case DRIVE_REMOTE:
        return DriveType::kRemote;
      case DRIVE_CDROM:
        return DriveType::kCdRom;
      case DRIVE_RAMDISK:
        return DriveType::kRamDisk;
      default:
        return DriveType::kUnknown;
    }
  }

  bool HasMedium(char letter) const override {
    const char probe[] = {letter, ':', '\\', '.', '\0'};
    // The installer's own error mode comes back afterwards.
    const UINT previous = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    const bool answered = ::GetFileAttributesA(probe) != INVALID_FILE_ATTRIBUTES;
    ::SetErrorMode(previous);
    return answered;
  }

  char CurrentDrive() const override {
    char folder[MAX_PATH];
    const DWORD length = ::GetCurrentDirectoryA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH) return 0;
    return static_cast<char>(folder[0] & ~0x20);
  }

  bool SetCurrentDrive(char letter) const override { return ::SetCurrentDirectoryA(Root(letter).text) != FALSE; }

  bool Space(char letter, DiskSpace& space) const override {
    DWORD sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
    if (!::GetDiskFreeSpaceA(Root(letter).text, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
      return false;
    space = DiskSpace{sectorsPerCluster, bytesPerSector, freeClusters, totalClusters};
    return true;
  }

  bool VolumeLabel(char letter, char* buffer, std::size_t size) const override {
    return ::GetVolumeInformationA(Root(letter).text, buffer, static_cast<DWORD>(size), nullptr, nullptr, nullptr,
                                   nullptr, 0) != FALSE;
  }
};

}  // namespace

const DriveQuery& SystemDrives() {
  static const SystemDriveQuery drives;
  return drives;
}

}  // namespace velinst::platform
