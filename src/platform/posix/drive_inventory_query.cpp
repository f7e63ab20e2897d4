#include "platform/drive_inventory.h"

namespace velinst::platform {

namespace {

// The host names no drive by letter: the inventory is empty.
class NoInventory final : public IDriveInventoryQuery {
 public:
  std::vector<std::string> DriveRoots() override { return {}; }
  std::optional<std::vector<std::uint8_t>> DeviceDescriptor(const std::string&) override { return std::nullopt; }
};

}  // namespace

std::unique_ptr<IDriveInventoryQuery> SystemDriveInventory() { return std::make_unique<NoInventory>(); }

}  // namespace velinst::platform
