// Arbitrary bytes as a storage driver's device descriptor and as a drive list.
#include <cstddef>
#include <cstdint>

#include "platform/drive_inventory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  velinst::DriveInventoryRecord record;
  velinst::ReadDeviceDescriptor(std::span(data, size), record);
  velinst::SplitDriveStrings(reinterpret_cast<const char*>(data), size);
  return 0;
}
