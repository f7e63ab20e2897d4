#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/drive_inventory.h"
#include "platform/win32/unique_handle.h"

namespace velinst::platform {

namespace {

// A descriptor larger than this is not one a storage driver reports.
constexpr DWORD kDescriptorLimit = 64 * 1024;

class SystemInventory final : public IDriveInventoryQuery {
 public:
  std::vector<std::string> DriveRoots() override {
    const DWORD needed = ::GetLogicalDriveStringsA(0, nullptr);
    if (needed == 0) return {};
    std::vector<char> list(needed + 1, '\0');
    const DWORD written = ::GetLogicalDriveStringsA(static_cast<DWORD>(list.size()), list.data());
    if (written == 0 || written >= list.size()) return {};
    return SplitDriveStrings(list.data(), written);
  }

  std::optional<std::vector<std::uint8_t>> DeviceDescriptor(const std::string& root) override {
    // "C:\" becomes the device "\\.\C:".
    char device[32];
    std::snprintf(device, sizeof device, "\\\\.\\%s", root.c_str());
    const std::size_t length = std::strlen(device);
    if (length > 0 && device[length - 1] == '\\') device[length - 1] = '\0';
    const UniqueHandle drive(
        ::CreateFileA(device, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!drive) return std::nullopt;

    STORAGE_PROPERTY_QUERY query = {};
    query.PropertyId = StorageDeviceProperty;
    query.QueryType = PropertyStandardQuery;
    STORAGE_DESCRIPTOR_HEADER header = {};
    DWORD returned = 0;
    if (!::DeviceIoControl(drive.Get(), IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, &header, sizeof header,
                           &returned, nullptr))
      return std::nullopt;
    if (header.Size < sizeof header || header.Size > kDescriptorLimit) return std::nullopt;
    std::vector<std::uint8_t> descriptor(header.Size, 0);
    if (!::DeviceIoControl(drive.Get(), IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, descriptor.data(),
                           header.Size, &returned, nullptr))
      return std::nullopt;
    // Only what the driver wrote counts.
    descriptor.resize(std::min<std::size_t>(returned, descriptor.size()));
    return descriptor;
  }
};

}  // namespace

std::unique_ptr<IDriveInventoryQuery> SystemDriveInventory() { return std::make_unique<SystemInventory>(); }

}  // namespace velinst::platform
