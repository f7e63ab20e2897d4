#include "platform/drive_query.h"

#include <cerrno>

namespace velinst::platform {

namespace {

// The host has no drive letters: every letter names a drive that does not exist.
class NoDrives final : public DriveQuery {
 public:
  std::uint32_t LogicalDrives() const override { return 0; }
  DriveType TypeOf(char) const override { return DriveType::kNoRootDir; }
  bool HasMedium(char) const override { return Missing(); }
  char CurrentDrive() const override { return 0; }
  bool SetCurrentDrive(char) const override { return Missing(); }
  bool Space(char, DiskSpace&) const override { return Missing(); }
  bool VolumeLabel(char, char*, std::size_t) const override { return Missing(); }

 private:
  static bool Missing() {
    errno = ENOENT;
    return false;
  }
};

}  // namespace

const DriveQuery& SystemDrives() {
  static const NoDrives drives;
  return drives;
}

}  // namespace velinst::platform
