#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/drive_query.h"
#include "platform/volume_control.h"
#include "velinst.h"

// This program's own drives in place of the system's (the linker takes these
// definitions before the library's): C: is fixed, E: a CD-ROM drive whose
// volume records the letter it was opened with and does all it is asked.
namespace velinst::platform {
namespace {

std::string opened;

class Drives final : public DriveQuery {
 public:
  std::uint32_t LogicalDrives() const override { return 0x14; }
  DriveType TypeOf(char letter) const override {
    return letter == 'E' ? DriveType::kCdRom : letter == 'C' ? DriveType::kFixed : DriveType::kNoRootDir;
  }
  bool HasMedium(char) const override { return true; }
  char CurrentDrive() const override { return 'C'; }
  bool SetCurrentDrive(char) const override { return false; }
  bool Space(char, DiskSpace&) const override { return false; }
  bool VolumeLabel(char, char*, std::size_t) const override { return false; }
};

class Volume final : public IVolumeControl {
 public:
  std::uint32_t Open(char letter, bool) override { return (opened += letter, 0); }
  bool Lock() override { return true; }
  bool Dismount() override { return true; }
  bool AllowRemoval(bool) override { return true; }
  bool EjectMedium() override { return true; }
  bool Close() override { return true; }
  void Wait(std::chrono::milliseconds) override {}
};

}  // namespace

const DriveQuery& SystemDrives() {
  static const Drives drives;
  return drives;
}
std::unique_ptr<IVolumeControl> SystemVolumeControl() { return std::make_unique<Volume>(); }

}  // namespace velinst::platform

// The export takes the first character of its text, in either case, as the drive letter.
TEST(Eject, ExportEjectsTheDriveOfTheFirstLetterInEitherCase) {
  const struct {
    const char *drive, *opened, *output;
    int result;
  } cases[] = {{"e:\\", "E", "", 1},
               {"c:", "", "Cannot eject.  Drive type is incorrect.\n", 0},
               {"", "", "", 0},
               {nullptr, "", "", 0}};
  for (const auto& c : cases) {
    velinst::platform::opened.clear();
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(VEL_Eject(c.drive), c.result) << (c.drive ? c.drive : "null");
    EXPECT_EQ(::testing::internal::GetCapturedStdout() + "|" + velinst::platform::opened,
              std::string(c.output) + "|" + c.opened);
  }
}
