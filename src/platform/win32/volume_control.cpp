#include <windows.h>
#include <winioctl.h>

#include <cstdio>

#include "platform/volume_control.h"
#include "platform/win32/unique_handle.h"

namespace velinst::platform {

namespace {

class SystemVolume final : public IVolumeControl {
 public:
  std::uint32_t Open(char letter, bool writeAccess) override {
    char device[16];
    std::snprintf(device, sizeof device, "\\\\.\\%c:", letter);
    const DWORD access = writeAccess ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
    volume_ = UniqueHandle(
        ::CreateFileA(device, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    return volume_.Valid() ? 0 : ::GetLastError();
  }

  bool Lock() override { return Control(FSCTL_LOCK_VOLUME, nullptr, 0); }
  bool Dismount() override { return Control(FSCTL_DISMOUNT_VOLUME, nullptr, 0); }

  bool AllowRemoval(bool prevent) override {
    PREVENT_MEDIA_REMOVAL removal = {};
    removal.PreventMediaRemoval = prevent ? TRUE : FALSE;
    return Control(IOCTL_STORAGE_MEDIA_REMOVAL, &removal, sizeof removal);
  }

  bool EjectMedium() override { return Control(IOCTL_STORAGE_EJECT_MEDIA, nullptr, 0); }
  bool Close() override { return volume_.Close(); }
  void Wait(std::chrono::milliseconds delay) override { ::Sleep(static_cast<DWORD>(delay.count())); }

 private:
  bool Control(DWORD code, void* input, DWORD inputSize) {
    DWORD returned = 0;
    return ::DeviceIoControl(volume_.Get(), code, input, inputSize, nullptr, 0, &returned, nullptr) != FALSE;
  }

  UniqueHandle volume_;
};

}  // namespace

std::unique_ptr<IVolumeControl> SystemVolumeControl() { return std::make_unique<SystemVolume>(); }

}  // namespace velinst::platform
