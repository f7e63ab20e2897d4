// The volume-level calls of an eject: the volume device of one drive is
// opened, locked, dismounted, released for removal, ejected and closed. CDOS
// runs the sequence; tests hand it a volume of their own.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>

namespace velinst::platform {

class IVolumeControl {
 public:
  virtual ~IVolumeControl() = default;
  // Opens the volume device "\\.\X:" (read and write, or read only), sharing
  // read and write; 0 on success, else the system's error code.
  virtual std::uint32_t Open(char letter, bool writeAccess) = 0;
  virtual bool Lock() = 0;
  virtual bool Dismount() = 0;
  virtual bool AllowRemoval(bool prevent) = 0;
  virtual bool EjectMedium() = 0;
  // Closes the volume, which also releases the lock.
  virtual bool Close() = 0;
  virtual void Wait(std::chrono::milliseconds delay) = 0;
};

// A fresh volume of the running system (the host has no volumes by letter:
// nothing opens).
std::unique_ptr<IVolumeControl> SystemVolumeControl();

}  // namespace velinst::platform
