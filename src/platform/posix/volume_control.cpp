#include "platform/volume_control.h"

namespace velinst::platform {

namespace {

// The host names no volume by letter: nothing opens, so nothing past Open is
// ever called.
class NoVolume final : public IVolumeControl {
 public:
  std::uint32_t Open(char, bool) override { return 2; }  // no such file
  bool Lock() override { return false; }
  bool Dismount() override { return false; }
  bool AllowRemoval(bool) override { return false; }
  bool EjectMedium() override { return false; }
  bool Close() override { return true; }
  void Wait(std::chrono::milliseconds) override {}
};

}  // namespace

std::unique_ptr<IVolumeControl> SystemVolumeControl() { return std::make_unique<NoVolume>(); }

}  // namespace velinst::platform
