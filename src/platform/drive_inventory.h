// The machine's drives with the vendor, product and serial number that their
// storage driver reports (CDOS's drive list), and the readers of what the
// system hands back for it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velinst {

struct DriveInventoryRecord {
  std::string root;  // as the system lists it, "C:\"
  std::uint32_t ordinal = 0;
  std::string serialNumber = "Unknown";
  std::string vendorId = "Unknown";
  std::string productId = "Unknown";
};

// The texts of a drive list: NUL-terminated roots ending with an empty one,
// within `size` bytes.
std::vector<std::string> SplitDriveStrings(const char* list, std::size_t size);

// Fills the serial number, vendor and product of `record` from a storage
// device descriptor, each where its offset is not 0 and lies inside it.
void ReadDeviceDescriptor(std::span<const std::uint8_t> descriptor, DriveInventoryRecord& record);

namespace platform {

class IDriveInventoryQuery {
 public:
  virtual ~IDriveInventoryQuery() = default;
  // The drive roots in the system's order.
  virtual std::vector<std::string> DriveRoots() = 0;
  // The drive's storage device descriptor (the bytes of the platform's
  // STORAGE_DEVICE_DESCRIPTOR), or nothing when the drive does not answer.
  virtual std::optional<std::vector<std::uint8_t>> DeviceDescriptor(const std::string& root) = 0;
};

// The running system's drives (the host has none by letter).
std::unique_ptr<IDriveInventoryQuery> SystemDriveInventory();

}  // namespace platform

}  // namespace velinst
