// What the system tells about its lettered drives. CDOS takes it as a
// parameter so that tests can hand it a drive table of their own; the host
// has no drive letters and answers as for drives that do not exist.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velinst::platform {

// GetDriveTypeA's answers.
enum class DriveType { kUnknown, kNoRootDir, kRemovable, kFixed, kRemote, kCdRom, kRamDisk };

struct DiskSpace {
  std::uint32_t sectorsPerCluster = 0;
  std::uint32_t bytesPerSector = 0;
  std::uint32_t freeClusters = 0;
  std::uint32_t totalClusters = 0;
};

class DriveQuery {
 public:
  virtual ~DriveQuery() = default;
  // Bit 0 for A:, bit 1 for B: and so on.
  virtual std::uint32_t LogicalDrives() const = 0;
  virtual DriveType TypeOf(char letter) const = 0;
  // Whether the root answers (critical-error boxes suppressed meanwhile).
  virtual bool HasMedium(char letter) const = 0;
  // The current folder's drive letter in upper case; 0 when there is none.
  virtual char CurrentDrive() const = 0;
  virtual bool SetCurrentDrive(char letter) const = 0;
  virtual bool Space(char letter, DiskSpace& space) const = 0;
  // The volume label into `buffer` of `size` bytes.
  virtual bool VolumeLabel(char letter, char* buffer, std::size_t size) const = 0;
};

// The running system's drives.
const DriveQuery& SystemDrives();

}  // namespace velinst::platform
